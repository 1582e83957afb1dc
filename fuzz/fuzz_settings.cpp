// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file's text: any bytes read without harm; a write sets our keys so that they read back,
// writing them again changes nothing, and a text with no section at all is kept in front of ours.
#include "FuzzFile.h"
#include "session/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const SettingSpec& entry : SettingTable)
        if (const auto value = ini_text::Value(text, SettingsSection, entry.name))
            ParseSettingInteger(*value);

    const int number = size > 0 ? static_cast<int>(data[0]) - 128 : 0;
    std::vector<std::pair<std::string, std::string>> values;
    for (const SettingSpec& entry : SettingTable)
        values.emplace_back(entry.name, std::to_string(number + static_cast<int>(values.size())));
    const std::string written = ini_text::WithValues(text, SettingsSection, values);
    for (const auto& [key, value] : values) {
        const auto read = ini_text::Value(written, SettingsSection, key);
        fuzz::Require(read && ParseSettingInteger(*read) == ParseSettingInteger(value),
                      "a written key reads back");
    }
    fuzz::Require(ini_text::WithValues(written, SettingsSection, values) == written,
                  "writing again changes nothing");
    if (text.find('[') == std::string::npos)
        fuzz::Require(written.compare(0, text.size(), text) == 0, "a text without sections is kept as it is");

    static const std::string path = fuzz::ScratchPath("kestrum.ini");
    fuzz::WriteScratch(path, data, size);
    const Settings settings(path);
    for (const SettingSpec& entry : SettingTable)
        settings.read(entry.key);
    return 0;
}
