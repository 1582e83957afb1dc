// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Settings.h"

#include "storage/AtomicFile.h"
#include "storage/CollectionPlace.h"
#include "storage/SafeRead.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

constexpr const char* Blanks = " \t";

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(Blanks);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The lines of a text, each with its own line end, so that joining them gives the text back.
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, next - start));
        start = next;
    }
    return lines;
}

// A line without its line end.
std::string body(const std::string& line) {
    std::size_t length = line.size();
    if (length > 0 && line[length - 1] == '\n')
        --length;
    if (length > 0 && line[length - 1] == '\r')
        --length;
    return line.substr(0, length);
}

// The name of the section a line opens; nothing for any other line.
std::optional<std::string> sectionName(const std::string& line) {
    const std::string text = trimmed(body(line));
    const std::size_t close = text.find(']');
    if (text.empty() || text[0] != '[' || close == std::string::npos)
        return std::nullopt;
    return trimmed(text.substr(1, close - 1));
}

// The key of a key line; nothing for a line without '='.
std::optional<std::string> keyName(const std::string& line) {
    const std::string text = body(line);
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos)
        return std::nullopt;
    return trimmed(text.substr(0, equals));
}

struct SectionLines {
    std::size_t header = 0; // the header line
    std::size_t end = 0;    // the line after the section's last line
    bool found = false;
};

SectionLines findSection(const std::vector<std::string>& lines, const std::string& section) {
    SectionLines result;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::optional<std::string> name = sectionName(lines[i]);
        if (!name)
            continue;
        if (result.found) {
            result.end = i;
            return result;
        }
        if (sameName(*name, section)) {
            result = {i, lines.size(), true};
        }
    }
    return result;
}

std::optional<std::size_t> findKey(const std::vector<std::string>& lines, const SectionLines& section,
                                   const std::string& key) {
    for (std::size_t i = section.header + 1; i < section.end; ++i) {
        const std::optional<std::string> name = keyName(lines[i]);
        if (name && sameName(*name, key))
            return i;
    }
    return std::nullopt;
}

std::string lineEnd(const std::string& line) {
    return line.substr(body(line).size());
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line;
    return text;
}

SettingsWriteResult replaceFile(const std::string& path, const std::string& contents) {
    if (!MakeDirectories(DirectoryPart(path)))
        return {false, errno};
    AtomicFile file(path);
    if (!file.created() || !file.write(contents.data(), contents.size()) || !file.commit())
        return {false, errno};
    return {};
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
    const FileBytes file = ReadRegularFile(m_path, read_limit::Settings);
    const std::optional<std::string> stored = ini_text::Value(file.bytes, SettingsSection, entry.name);
    const std::optional<int> value = stored ? ParseSettingInteger(*stored) : std::nullopt;
    return normalised(entry, value.value_or(fallback));
}

SettingsWriteResult Settings::write(const std::vector<std::pair<SettingKey, int>>& values) const {
    const FileBytes file = ReadRegularFile(m_path, read_limit::Settings);
    if (!file.ok() && file.error != ENOENT)
        return {false, file.error};
    std::vector<std::pair<std::string, std::string>> texts;
    for (const auto& [key, value] : values)
        texts.emplace_back(SpecOf(key).name, std::to_string(value));
    return replaceFile(m_path, ini_text::WithValues(file.bytes, SettingsSection, texts));
}

std::optional<std::string> ini_text::Value(const std::string& text, const std::string& section,
                                           const std::string& key) {
    const std::vector<std::string> lines = splitLines(text);
    const SectionLines found = findSection(lines, section);
    if (!found.found)
        return std::nullopt;
    const std::optional<std::size_t> line = findKey(lines, found, key);
    if (!line)
        return std::nullopt;
    const std::string keyLine = body(lines[*line]);
    return trimmed(keyLine.substr(keyLine.find('=') + 1));
}

std::string ini_text::WithValues(const std::string& text, const std::string& section,
                                 const std::vector<std::pair<std::string, std::string>>& values) {
    std::vector<std::string> lines = splitLines(text);
    SectionLines found = findSection(lines, section);
    if (!found.found) {
        if (!lines.empty() && lines.back().back() != '\n')
            lines.back() += '\n';
        lines.push_back("[" + section + "]\n");
        found = {lines.size() - 1, lines.size(), true};
    }
    for (const auto& [key, value] : values) {
        if (const std::optional<std::size_t> line = findKey(lines, found, key)) {
            lines[*line] = key + "=" + value + lineEnd(lines[*line]);
            continue;
        }
        // After the section's last line that is not blank, so blank lines before the next section stay.
        std::size_t at = found.end;
        while (at > found.header + 1 && trimmed(body(lines[at - 1])).empty())
            --at;
        std::string& before = lines[at - 1];
        if (before.empty() || before.back() != '\n')
            before += '\n';
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), key + "=" + value + "\n");
        ++found.end;
    }
    return joined(lines);
}
