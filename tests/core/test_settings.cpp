// The settings file: defaults, number formats, normalisation, and writing without disturbing the rest.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "app/Settings.h"

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
