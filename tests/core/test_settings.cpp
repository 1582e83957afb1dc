// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: defaults, number formats, normalisation, and writing without disturbing the rest.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "session/Settings.h"

namespace fs = std::filesystem;

namespace {

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("tolvar-ini-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_path = (m_dir / "kestrum.ini").string();
    }
    void TearDown() override { fs::remove_all(m_dir); }

    void write(const std::string& text) const { std::ofstream(m_path) << text; }
    std::string contents() const {
        std::ifstream in(m_path);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    fs::path m_dir;
    std::string m_path;
};

} // namespace

TEST_F(SettingsFile, MissingFileGivesDefaults) {
    const Settings s(m_path);
    EXPECT_EQ(s.read(SettingKey::Tongue), -1);
    EXPECT_EQ(s.read(SettingKey::Left), 100);
    EXPECT_EQ(s.read(SettingKey::Top), 50);
    EXPECT_TRUE(s.readFlag(SettingKey::Sound));
    EXPECT_EQ(s.read(SettingKey::Fig1), 1);
    EXPECT_EQ(s.read(SettingKey::Fig2), 2);
    EXPECT_EQ(s.read(SettingKey::Back), 0);
    EXPECT_EQ(s.read(SettingKey::Level), 1);
    EXPECT_TRUE(s.readFlag(SettingKey::Edinf));
    EXPECT_EQ(s.read(SettingKey::Eleft, 612), 612);
    EXPECT_FALSE(fs::exists(m_path)) << "reading never creates the file";
}

TEST_F(SettingsFile, NumberFormatsAndNormalisation) {
    write("[Tolvar Pegs 1]\n"
          "tongue=1\nleft=0x1F\ntop=-20\nsound=0\nfig1=25\nfig2=-1\nback=3\nlevel=0\nedinf=abc\n"
          "eleft=12x\netop=99999999999\n");
    const Settings s(m_path);
    EXPECT_EQ(s.read(SettingKey::Tongue), 1);
    EXPECT_EQ(s.read(SettingKey::Left), 31);
    EXPECT_EQ(s.read(SettingKey::Top), -20);
    EXPECT_FALSE(s.readFlag(SettingKey::Sound));
    EXPECT_EQ(s.read(SettingKey::Fig1), 1);
    EXPECT_EQ(s.read(SettingKey::Fig2), 11);
    EXPECT_EQ(s.read(SettingKey::Back), 1);
    EXPECT_EQ(s.read(SettingKey::Level), 1);
    EXPECT_TRUE(s.readFlag(SettingKey::Edinf)) << "not a number reads as the default";
    EXPECT_EQ(s.read(SettingKey::Eleft, 7), 7);
    EXPECT_EQ(s.read(SettingKey::Etop, 8), 8) << "beyond int reads as the default";
}

TEST(SettingsParse, Integers) {
    EXPECT_EQ(ParseSettingInteger(" 42 "), 42);
    EXPECT_EQ(ParseSettingInteger("0XfF"), 255);
    EXPECT_EQ(ParseSettingInteger("-0x10"), -16);
    EXPECT_EQ(ParseSettingInteger("+7"), 7);
    EXPECT_EQ(ParseSettingInteger(""), std::nullopt);
    EXPECT_EQ(ParseSettingInteger("0x"), std::nullopt);
    EXPECT_EQ(ParseSettingInteger("1 2"), std::nullopt);
    EXPECT_EQ(ParseSettingInteger("--1"), std::nullopt);
    EXPECT_EQ(ParseSettingInteger("2147483648"), std::nullopt);
    EXPECT_EQ(ParseSettingInteger("-2147483648"), -2147483647 - 1);
}

TEST_F(SettingsFile, WritingKeepsOtherSectionsAndComments) {
    write("; my settings\n[Other Game]\nlevel=77\n\n[Tolvar Pegs 1]\nfig1=4\ncustom=yes\n");
    const Settings s(m_path);
    EXPECT_TRUE(s.write({{SettingKey::Sound, 0}, {SettingKey::Left, 300}, {SettingKey::Fig1, 5}}));
    const std::string text = contents();
    EXPECT_NE(text.find("; my settings"), std::string::npos);
    EXPECT_NE(text.find("[Other Game]"), std::string::npos);
    EXPECT_NE(text.find("custom=yes"), std::string::npos);
    EXPECT_EQ(s.read(SettingKey::Fig1), 5);
    EXPECT_EQ(s.read(SettingKey::Left), 300);
    EXPECT_FALSE(s.readFlag(SettingKey::Sound));
    EXPECT_EQ(text.find("level=77"), text.rfind("level=77"));
    EXPECT_NE(text.find("level=77"), std::string::npos);
    EXPECT_LT(text.find("[Other Game]"), text.find("[Tolvar Pegs 1]"));
}

TEST_F(SettingsFile, NewKeysAreWrittenInTheOrderGiven) {
    const Settings s(m_path);
    EXPECT_TRUE(s.write({{SettingKey::Sound, 1},
                         {SettingKey::Left, 10},
                         {SettingKey::Top, 20},
                         {SettingKey::Tongue, 0},
                         {SettingKey::Level, 3}}));
    const std::string text = contents();
    EXPECT_NE(text.find("[Tolvar Pegs 1]"), std::string::npos);
    EXPECT_LT(text.find("sound"), text.find("left"));
    EXPECT_LT(text.find("left"), text.find("top"));
    EXPECT_LT(text.find("top"), text.find("tongue"));
    EXPECT_LT(text.find("tongue"), text.find("level"));
}

TEST_F(SettingsFile, CreatesTheConfigurationDirectoryAndLeavesNoTemporaryFile) {
    const std::string nested = (m_dir / "a" / "b" / "kestrum.ini").string();
    const Settings s(nested);
    EXPECT_TRUE(s.write(SettingKey::Back, 1));
    EXPECT_EQ(s.read(SettingKey::Back), 1);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(m_dir / "a" / "b"))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST(SettingsPath, FollowsXdgConfigHome) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string previous = saved ? saved : "";
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("XDG_CONFIG_HOME", "/tmp/xdg-test", 1);
    EXPECT_EQ(DefaultSettingsPath(), "/tmp/xdg-test/kestrum.ini");
    ::setenv("XDG_CONFIG_HOME", "relative", 1); // not absolute: ignored
    ::setenv("HOME", "/home/player", 1);
    EXPECT_EQ(DefaultSettingsPath(), "/home/player/.config/kestrum.ini");
    ::setenv("HOME", home.c_str(), 1);
    if (saved)
        ::setenv("XDG_CONFIG_HOME", previous.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

// Everything outside our section is another program's: it comes back byte for byte, whatever it holds.
TEST(SettingsText, EverythingOutsideOurSectionIsKeptByteForByte) {
    const std::string before = std::string("; notes\r\n[Other]\r\nKey=1\r\nkey=2\r\nno equals sign\r\nbin=") +
                               std::string("a\0b", 3) + "\r\n\r\n";
    const std::string ours = "[tolvar pegs 1]\r\nLEVEL=4\r\nmine=keep\r\n\r\n";
    const std::string after = "[Later]\nlevel=9\n[Tolvar Pegs 1]\nlevel=77\n";
    const std::string text = before + ours + after;

    const std::string written = ini_text::WithValues(text, "Tolvar Pegs 1", {{"level", "5"}, {"sound", "0"}});
    EXPECT_EQ(written, before + "[tolvar pegs 1]\r\nlevel=5\r\nmine=keep\r\nsound=0\n\r\n" + after);
    EXPECT_EQ(ini_text::Value(written, "Tolvar Pegs 1", "Level"), "5");
    EXPECT_EQ(ini_text::Value(written, "Tolvar Pegs 1", "sound"), "0");
    EXPECT_EQ(ini_text::Value(text, "Other", "KEY"), "1") << "the first key of a name counts";
    EXPECT_EQ(ini_text::Value(text, "Other", "bin"), std::string("a\0b", 3));
    EXPECT_EQ(ini_text::Value(text, "Missing", "level"), std::nullopt);
}

TEST(SettingsText, AMissingSectionIsAddedAtTheEndOfAFileWithoutALastLineEnd) {
    EXPECT_EQ(ini_text::WithValues("[Other]\nx=1", "Tolvar Pegs 1", {{"tongue", "0"}}),
              "[Other]\nx=1\n[Tolvar Pegs 1]\ntongue=0\n");
    EXPECT_EQ(ini_text::WithValues("", "Tolvar Pegs 1", {{"tongue", "1"}}), "[Tolvar Pegs 1]\ntongue=1\n");
    EXPECT_EQ(ini_text::WithValues("[Tolvar Pegs 1]", "Tolvar Pegs 1", {{"back", "1"}}),
              "[Tolvar Pegs 1]\nback=1\n");
}

namespace {

// Runs `work` in a child that an alarm ends after five seconds: true when it returned in time.
template <typename Work> bool finishesPromptly(Work work) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(5);
        work();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

TEST_F(SettingsFile, AFileThatCannotBeReadCompletelyIsNeverRewrittenAndTheFailureIsTold) {
    // Too long to be a settings file: reads as defaults, and a write would lose what was not read.
    const std::string huge = "[Tolvar Pegs 1]\nlevel=3\n" + std::string(1024 * 1024, ';');
    write(huge);
    const Settings s(m_path);
    EXPECT_EQ(s.read(SettingKey::Level), 1);
    const SettingsWriteResult result = s.write(SettingKey::Level, 4);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, EFBIG);
    EXPECT_EQ(contents(), huge);

    fs::remove(m_path);
    fs::create_directory(m_path);
    EXPECT_EQ(s.write(SettingKey::Level, 4).error, EISDIR);
    EXPECT_TRUE(fs::is_directory(m_path));
}

TEST_F(SettingsFile, APipeOrALinkToADeviceReadsAsDefaultsAtOnceAndIsNotRewritten) {
    ASSERT_EQ(::mkfifo(m_path.c_str(), 0644), 0);
    const Settings s(m_path);
    EXPECT_TRUE(finishesPromptly([&] {
        if (s.read(SettingKey::Fig1) != 1 || s.write(SettingKey::Fig1, 3).error != EINVAL)
            ::_exit(1);
    }));
    EXPECT_TRUE(fs::is_fifo(m_path));

    fs::remove(m_path);
    fs::create_symlink("/dev/zero", m_path);
    EXPECT_TRUE(finishesPromptly([&] {
        if (s.read(SettingKey::Fig1) != 1 || s.write(SettingKey::Fig1, 3).error != EINVAL)
            ::_exit(1);
    }));
    EXPECT_TRUE(fs::is_symlink(m_path));
}

TEST_F(SettingsFile, ALinkedSettingsFileIsWrittenThroughTheLink) {
    fs::create_directories(m_dir / "dotfiles");
    std::ofstream(m_dir / "dotfiles" / "kestrum.ini") << "[Other]\na=1\n";
    fs::create_symlink("dotfiles/kestrum.ini", m_path);
    const Settings s(m_path);
    EXPECT_TRUE(s.write(SettingKey::Back, 1));
    EXPECT_TRUE(fs::is_symlink(m_path));
    EXPECT_EQ(s.read(SettingKey::Back), 1);
    std::ifstream in(m_dir / "dotfiles" / "kestrum.ini");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "[Other]\na=1\n[Tolvar Pegs 1]\nback=1\n");
}
