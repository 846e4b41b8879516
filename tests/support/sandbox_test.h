// Base fixture of the native tests: a fresh sandbox machine for every test, with the
// program installed in C:\Purgelint.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "core/app_state.h"
#include "platform/sandbox/sandbox.h"

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
        sLanguage = "eng";
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    static std::string AppFile(const std::string& name) {
        return std::string(kAppFolder) + "\\" + name;
    }
    // The file's bytes, or "<none>" when it does not exist.
    static std::string ReadAppFile(const std::string& name) {
        return sandbox::ReadFile(AppFile(name)).value_or("<none>");
    }

  private:
    std::filesystem::path root_;
};
