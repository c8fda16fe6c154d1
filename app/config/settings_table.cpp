#include "app/config/settings_table.h"

#include <string>

#include "runtime/errors.h"

namespace app {

namespace {

std::uint16_t low16Bits(std::int32_t value) { return static_cast<std::uint16_t>(static_cast<std::uint32_t>(value)); }

}  // namespace

SettingsTable::SettingsTable() : values_{8, 1, 44100, 5000, 4096} {}

std::size_t SettingsTable::indexOf(std::string_view key) const {
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] == key) return i;
    }
    throw runtime::ValueError("unknown setting: " + std::string(key));
}

std::int32_t SettingsTable::value(std::string_view key) const { return values_[indexOf(key)]; }

void SettingsTable::setValue(std::string_view key, std::int32_t value) { values_[indexOf(key)] = value; }

engine::ConversionSettings makeConversionSettings(const SettingsTable& settings) {
    engine::ConversionSettings result;
    result.bitDepth = low16Bits(settings.value(bitDepthKey));
    result.numberOfChannels = low16Bits(settings.value(numberOfChannelsKey));
    result.sampleRateHz = settings.value(sampleRateHzKey);
    result.maxFilesSizeMb = static_cast<double>(settings.value(maxFilesSizeMbKey));
    result.maxFileSizeMb = static_cast<double>(settings.value(maxFileSizeMbKey));
    result.dcFilter = settings.dcFilter();
    result.encoding = settings.encoding();
    if (result.encoding != engine::SampleEncoding::pcm) result.bitDepth = 8;
    return result;
}

std::optional<engine::SampleEncoding> encodingNamed(std::string_view text) {
    if (text == "pcm") return engine::SampleEncoding::pcm;
    if (text == "ulaw") return engine::SampleEncoding::ulaw;
    if (text == "alaw") return engine::SampleEncoding::alaw;
    return std::nullopt;
}

}  // namespace app
