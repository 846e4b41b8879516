// Win32 result codes the system tests for, and their message texts.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

constexpr long kErrorSuccess = 0;
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorPathNotFound = 3;
constexpr long kErrorAccessDenied = 5;
constexpr long kErrorInvalidHandle = 6;
constexpr long kErrorNoMoreFiles = 18;
constexpr long kErrorSharingViolation = 32;
constexpr long kErrorInvalidParameter = 87;
constexpr long kErrorBadPathname = 161;
constexpr long kErrorAlreadyExists = 183;
constexpr long kErrorMoreData = 234;
constexpr long kErrorNoMoreItems = 259;
constexpr long kErrorKeyDeleted = 1018;

// The system's message text for a result code (FormatMessageW), without the line break.
std::string ErrorDescription(long code);

}  // namespace platform
