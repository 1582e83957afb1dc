#include "app/Settings.h"

#include "storage/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

// Debian ships the template bodies behind SI_IMPLEMENTATION; this is their only user.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

namespace {

using Ini = CSimpleIniA;

bool readFile(const std::string& path, std::string& contents) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    contents = buffer.str();
    return true;
}

void loadIni(Ini& ini, const std::string& path) {
    std::string contents;
    if (readFile(path, contents))
        ini.LoadData(contents);
}

std::string parentDirectory(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

void makeDirectories(const std::string& dir) {
    for (std::size_t pos = 1; pos != std::string::npos;) {
        pos = dir.find('/', pos + 1);
        ::mkdir(dir.substr(0, pos).c_str(), 0755);
    }
}

bool replaceFile(const std::string& path, const std::string& contents) {
    makeDirectories(parentDirectory(path));
    AtomicFile file(path);
    return file.created() && file.write(contents.data(), contents.size()) && file.commit();
}

int normalised(const SettingSpec& entry, int value) {
    switch (entry.normalise) {
    case Normalise::Remainder:
        return ((value % entry.modulus) + entry.modulus) % entry.modulus;
    case Normalise::AtLeastOne:
        return value < 1 ? 1 : value;
    case Normalise::None:
        break;
    }
    return value;
}

} // namespace

const SettingSpec& SpecOf(SettingKey key) {
    for (const SettingSpec& entry : SettingTable)
        if (entry.key == key)
            return entry;
    return SettingTable.front();
}

std::optional<int> ParseSettingInteger(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::nullopt;
    const auto last = text.find_last_not_of(" \t\r\n");
    std::string body = text.substr(first, last - first + 1);

    bool negative = false;
    if (body[0] == '+' || body[0] == '-') {
        negative = body[0] == '-';
        body.erase(0, 1);
    }
    int base = 10;
    if (body.size() > 2 && body[0] == '0' && (body[1] == 'x' || body[1] == 'X')) {
        base = 16;
        body.erase(0, 2);
    }
    if (body.empty() || body.find_first_of(" \t+-") != std::string::npos)
        return std::nullopt;

    errno = 0;
    char* end = nullptr;
    const long long magnitude = std::strtoll(body.c_str(), &end, base);
    if (errno != 0 || end == body.c_str() || *end != '\0')
        return std::nullopt;
    const long long value = negative ? -magnitude : magnitude;
    if (value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

std::string DefaultSettingsPath() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/')
        return std::string(xdg) + "/" + SettingsFileName;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.config/" + SettingsFileName;
}

int Settings::read(SettingKey key) const {
    return read(key, SpecOf(key).fallback);
}

int Settings::read(SettingKey key, int fallback) const {
    const SettingSpec& entry = SpecOf(key);
    Ini ini;
    loadIni(ini, m_path);
    const char* stored = ini.GetValue(SettingsSection, entry.name, nullptr);
    const std::optional<int> value = stored ? ParseSettingInteger(stored) : std::nullopt;
    return normalised(entry, value.value_or(fallback));
}

bool Settings::write(const std::vector<std::pair<SettingKey, int>>& values) const {
    Ini ini;
    ini.SetSpaces(false); // key=value, as Windows writes it
    loadIni(ini, m_path);
    for (const auto& [key, value] : values)
        ini.SetValue(SettingsSection, SpecOf(key).name, std::to_string(value).c_str());
    std::string contents;
    if (ini.Save(contents) < 0)
        return false;
    return replaceFile(m_path, contents);
}
