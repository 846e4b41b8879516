// For the backends: how the registry calls hand a value's data to their caller.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "platform/errors.h"

namespace platform {

// The size alone when there is no buffer, ERROR_MORE_DATA with the size needed when the
// buffer is too small, else the bytes and their size.
inline long CopyValueData(const std::string& bytes, void* data, std::uint32_t* size) {
    const auto needed = static_cast<std::uint32_t>(bytes.size());
    if (!size) return data ? kErrorInvalidParameter : kErrorSuccess;
    if (data && *size < needed) {
        *size = needed;
        return kErrorMoreData;
    }
    if (data && needed) std::memcpy(data, bytes.data(), needed);
    *size = needed;
    return kErrorSuccess;
}

}  // namespace platform
