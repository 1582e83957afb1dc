// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh temporary directory per test, with small helpers to put bytes into files and read them back.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

class StorageDir : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::filesystem::temp_directory_path() / ("tolvar-storage-" + std::to_string(::getpid()) +
                                                          "-" + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override {
        std::filesystem::permissions(m_dir, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(m_dir);
    }

    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    static void writeFile(const std::string& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    static std::string readFile(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // Every name in the directory `sub` of the test's directory, sorted.
    std::vector<std::string> names(const std::string& sub = ".") const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir / sub))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }

    std::filesystem::path m_dir;
};
