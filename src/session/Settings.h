// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file `kestrum.ini`: section "Tolvar Pegs 1", one table of keys with their defaults and
// how a stored value is brought into range. The file may hold other programs' sections: everything
// outside ours is kept byte for byte, and a file that could not be read completely is never rewritten.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

enum class SettingKey { Tongue, Left, Top, Sound, Fig1, Fig2, Back, Level, Edinf, Eleft, Etop };

enum class Normalise {
    None,
    Remainder,  // into 0 .. modulus-1 (a stored 13 for a design reads as 1, -1 as 11)
    AtLeastOne, // board numbers; the upper bound is the collection's to apply
};

struct SettingSpec {
    SettingKey key;
    const char* name;
    int fallback; // eleft and etop have defaults that depend on the main window: callers pass them
    Normalise normalise;
    int modulus;
};

constexpr const char* SettingsSection = "Tolvar Pegs 1";
constexpr const char* SettingsFileName = "kestrum.ini";

constexpr std::array<SettingSpec, 11> SettingTable{{
    {SettingKey::Tongue, "tongue", -1, Normalise::None, 0},
    {SettingKey::Left, "left", 100, Normalise::None, 0},
    {SettingKey::Top, "top", 50, Normalise::None, 0},
    {SettingKey::Sound, "sound", 1, Normalise::None, 0},
    {SettingKey::Fig1, "fig1", 1, Normalise::Remainder, 12},
    {SettingKey::Fig2, "fig2", 2, Normalise::Remainder, 12},
    {SettingKey::Back, "back", 0, Normalise::Remainder, 2},
    {SettingKey::Level, "level", 1, Normalise::AtLeastOne, 0},
    {SettingKey::Edinf, "edinf", 1, Normalise::None, 0},
    {SettingKey::Eleft, "eleft", 0, Normalise::None, 0},
    {SettingKey::Etop, "etop", 0, Normalise::None, 0},
}};

const SettingSpec& SpecOf(SettingKey key);

// Decimal, or hexadecimal after 0x / 0X, with an optional sign and surrounding blanks; anything else,
// or a value beyond the range of int, is not an integer.
std::optional<int> ParseSettingInteger(const std::string& text);

// `$XDG_CONFIG_HOME/kestrum.ini`, else `~/.config/kestrum.ini`.
std::string DefaultSettingsPath();

// The text of an initialisation file, read and changed as Windows does: section and key names without
// regard to case, the first section and the first key of a name count, surrounding blanks ignored.
namespace ini_text {
// The value of `key` in `section`, blanks trimmed; nothing when there is no such key.
std::optional<std::string> Value(const std::string& text, const std::string& section, const std::string& key);
// `text` with each key set to its value in `section`: a key that is there gets its line rewritten, a
// new one is added after the section's last line, and a missing section is added at the end. Every byte
// outside the section, and every line of it that is not one of these keys, stays as it was.
std::string WithValues(const std::string& text, const std::string& section,
                       const std::vector<std::pair<std::string, std::string>>& values);
} // namespace ini_text

struct SettingsWriteResult {
    bool ok = true;
    int error = 0; // errno of the failure
    explicit operator bool() const { return ok; }
};

class Settings {
public:
    explicit Settings(std::string path) : m_path(std::move(path)) {}

    const std::string& path() const { return m_path; }

    // The stored value, normalised; the table's default when the file, the key or a number is missing.
    int read(SettingKey key) const;
    int read(SettingKey key, int fallback) const;
    bool readFlag(SettingKey key) const { return read(key) != 0; }

    // Writes the values in the given order and replaces the file in one step. Fails, leaving the old
    // file unchanged, when it could not be written, and when a file that is there could not be read
    // completely (a rewrite would lose what was not read).
    SettingsWriteResult write(const std::vector<std::pair<SettingKey, int>>& values) const;
    SettingsWriteResult write(SettingKey key, int value) const { return write({{key, value}}); }

private:
    std::string m_path;
};
