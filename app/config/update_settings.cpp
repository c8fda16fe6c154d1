#include "app/config/config_file.h"
#include "app/config/parse_int.h"

namespace app {

namespace {

// The file's key for a setting. The default text spells the sample rate
// "sample_rate"; "sample_rate_hz" wins when the file has both.
std::string_view sourceKey(const ConfigSection& pairs, std::string_view key) {
    if (key == sampleRateHzKey && pairs.find(sampleRateHzKey) == nullptr) return sampleRateKey;
    return key;
}

}  // namespace

void updateSettings(SettingsTable& settings, const ConfigTable& table) {
    const ConfigSection* pairs = table.find("");
    if (pairs == nullptr) return;
    for (const std::string_view key : SettingsTable::keys) {
        const std::string text = configValue(table, "", sourceKey(*pairs, key));
        if (text.empty()) continue;
        try {
            settings.setValue(key, parseInt(text));
        } catch (const runtime::ValueError&) {
            // A malformed or out-of-range number leaves the value as it was.
        }
    }
    const std::string filter = configValue(table, "", dcFilterKey);
    if (filter == "true") settings.setDcFilter(true);
    if (filter == "false") settings.setDcFilter(false);
    // Another value keeps the current one, as an invalid number does.
    if (const auto encoding = encodingNamed(configValue(table, "", encodingKey))) settings.setEncoding(*encoding);
}

}  // namespace app
