#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/contract_machine.h"

namespace contract {

// A test that starts on a prepared machine, with names taken in its scratch folder.
class Scratch : public ::testing::Test {
  protected:
    void SetUp() override { scratch_ = PrepareMachine(); }
    std::string Path(const std::string& name) const { return scratch_ + "\\" + name; }
    std::string scratch_;
};

}  // namespace contract
