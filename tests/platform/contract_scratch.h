// The fixture of the contract tests; the demo installer builds on contract_machine.h alone,
// without the test framework.
#pragma once

#include <gtest/gtest.h>

#include "platform/contract_machine.h"

namespace contract {

// A test on a prepared machine: names in its scratch folder, keys below the scratch key.
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
