// Base fixture of the native tests: a fresh sandbox machine for every test, with the
// program installed in C:\Purgelint; and what the suites share.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/progress.h"
#include "platform/sandbox/sandbox.h"

// Every kind of reparse point a walk may meet: a junction, a symbolic link, Wine's host link
// (its tag undefined: 0 or any number), a deduplicated folder (a tag that is no link).
inline constexpr std::uint32_t kEveryReparseTag[] = {0xA0000003, 0xA000000C, 0, 1, 0x80000013};

// Makes a reparse point of each tag at `link` + the tag's index, all leading to `target`.
inline void MakeReparsePointsOfEveryTag(const std::string& link, const std::string& target) {
    for (std::size_t i = 0; i < std::size(kEveryReparseTag); ++i)
        sandbox::MakeReparsePoint(link + std::to_string(i), target, kEveryReparseTag[i]);
}

// Runs `check` on every row; a failure names the row's index and input.
template <typename Row, std::size_t N, typename Check>
void ForEachRow(const Row (&rows)[N], Check&& check) {
    for (std::size_t i = 0; i < N; ++i) {
        SCOPED_TRACE(::testing::Message() << "row " << i << ": \"" << rows[i].input << "\"");
        check(rows[i]);
    }
}

// Goes on until told to stop or shown an item ending in `stopOn`; keeps every item shown.
struct TestProgress final : core::Progress {
    bool Continue() override { return goOn; }
    void Looking(const std::string& text) override {
        looked.push_back(text);
        if (!stopOn.empty() && text.ends_with(stopOn)) goOn = false;
    }
    void KeepResponsive() override {}

    bool goOn = true;
    std::string stopOn;
    std::vector<std::string> looked;
};

class SandboxTest : public ::testing::Test {
  protected:
    static constexpr const char* kAppFolder = "C:\\Purgelint";

    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = std::filesystem::temp_directory_path() /
                ("purgelint-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" +
                 info->name());
        std::filesystem::remove_all(root_);
        sandbox::Reset(root_);
        sandbox::SetApplication(kAppFolder, "");
        sandbox::MakeFolder(kAppFolder);
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    static std::string AppFile(const std::string& name) { return kAppFolder + ("\\" + name); }
    // The file's bytes, or "<none>" when it does not exist.
    static std::string ReadAppFile(const std::string& name) {
        return sandbox::ReadFile(AppFile(name)).value_or("<none>");
    }

  private:
    std::filesystem::path root_;
};
