#pragma once
// The current values of the five configuration keys, and the settings of one
// conversion built from them.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/conversion_settings.h"

namespace app {

inline constexpr std::string_view bitDepthKey = "bit_depth";
inline constexpr std::string_view numberOfChannelsKey = "number_of_channels";
inline constexpr std::string_view sampleRateHzKey = "sample_rate_hz";
inline constexpr std::string_view maxFilesSizeMbKey = "max_files_size_mb";
inline constexpr std::string_view maxFileSizeMbKey = "max_file_size_mb";

// The file's own name for the sample rate, its DC filter switch, and the
// samples' encoding (absent from the default text: PCM).
inline constexpr std::string_view sampleRateKey = "sample_rate";
inline constexpr std::string_view dcFilterKey = "dc_filter";
inline constexpr std::string_view encodingKey = "encoding";

// The encoding a text names ("pcm", "ulaw" or "alaw"), or nothing.
std::optional<engine::SampleEncoding> encodingNamed(std::string_view text);

// The text written to a missing or empty configuration file: six lines joined
// by line feeds, none after the last, 110 bytes.
inline constexpr std::string_view defaultConfigText =
    "bit_depth=8\n"
    "number_of_channels=1\n"
    "sample_rate=44100\n"
    "max_files_size_mb=5000\n"
    "max_file_size_mb=4096\n"
    "dc_filter=true";
static_assert(defaultConfigText.size() == 110);

// The process's settings store: exactly the five keys, each a signed 32-bit
// number, plus the DC filter switch. Made with the defaults; keys are never
// added or removed. The program's entry point owns one and passes it on.
class SettingsTable {
public:
    static constexpr std::array<std::string_view, 5> keys = {bitDepthKey, numberOfChannelsKey, sampleRateHzKey,
                                                             maxFilesSizeMbKey, maxFileSizeMbKey};

    // The defaults: 8 bits, 1 channel, 44100 Hz, 5000 and 4096 megabytes,
    // DC filter on.
    SettingsTable();

    // The value of one of the five keys (compared byte for byte). Raises
    // runtime::ValueError for any other key.
    std::int32_t value(std::string_view key) const;

    // Stores the value of one of the five keys. Raises runtime::ValueError for
    // any other key.
    void setValue(std::string_view key, std::int32_t value);

    bool dcFilter() const { return dcFilter_; }
    void setDcFilter(bool on) { dcFilter_ = on; }

    engine::SampleEncoding encoding() const { return encoding_; }
    void setEncoding(engine::SampleEncoding encoding) { encoding_ = encoding; }

private:
    std::size_t indexOf(std::string_view key) const;

    std::array<std::int32_t, keys.size()> values_;
    bool dcFilter_ = true;
    engine::SampleEncoding encoding_ = engine::SampleEncoding::pcm;
};

// The settings of one conversion from the table's current values, nothing
// validated or clamped: bit depth and channels are the values' low 16 bits
// (-8 becomes 65528), the limits the values as doubles; u-law and A-law
// take 8 bits whatever the bit depth.
engine::ConversionSettings makeConversionSettings(const SettingsTable& settings);

}  // namespace app
