// The fixture of the contract tests: a prepared machine and its scratch key.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/contract_machine.h"
#include "platform/errors.h"

namespace contract {

// A test that starts on a prepared machine, with names taken in its scratch folder and keys
// created (or opened) below the scratch key, which it leaves removed.
class Scratch : public ::testing::Test {
  protected:
    void SetUp() override { scratch_ = PrepareMachine(); }
    void TearDown() override { platform::DeleteKeyTree(kScratchRoot, kScratchKey); }
    std::string Path(const std::string& name) const { return scratch_ + "\\" + name; }
    static platform::RegKey Create(const std::string& below = "") {
        const std::string path = kScratchKey + (below.empty() ? "" : "\\" + below);
        platform::RegKey key;
        EXPECT_EQ(platform::CreateKey(kScratchRoot, path, platform::kKeyAllAccess, key), 0) << path;
        return key;
    }
    std::string scratch_;
};

}  // namespace contract
