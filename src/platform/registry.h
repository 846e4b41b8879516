// Registry operations, shaped after the registry functions: same arguments, same result
// codes. Names and the data of the string types (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) are
// UTF-8, their sizes in bytes of UTF-8 as the ANSI functions count them; other data is the
// stored bytes. Predefined roots travel as their 32-bit values and become handles only
// inside the backend. Key paths separate names with backslashes only ("text/html" is one
// key); a path with a leading backslash is ERROR_BAD_PATHNAME.
#pragma once

#include <cstdint>
#include <string>

#include "base/unique_any.h"

namespace platform {

using RootKey = std::uint32_t;
constexpr RootKey kHkeyClassesRoot = 0x80000000;
constexpr RootKey kHkeyCurrentUser = 0x80000001;
constexpr RootKey kHkeyLocalMachine = 0x80000002;
constexpr RootKey kHkeyUsers = 0x80000003;
constexpr RootKey kHkeyPerformanceData = 0x80000004;
constexpr RootKey kHkeyCurrentConfig = 0x80000005;

constexpr std::uint32_t kRegNone = 0;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;

constexpr std::uint32_t kKeyQueryValue = 0x0001;
constexpr std::uint32_t kKeyRead = 0x20019;
constexpr std::uint32_t kKeyAllAccess = 0xF003F;

// The short name of a predefined root, as logs and exports write it; empty for the others.
constexpr const char* RootKeyName(RootKey root) {
    switch (root) {
        case kHkeyClassesRoot:
            return "HKCR";
        case kHkeyCurrentUser:
            return "HKCU";
        case kHkeyLocalMachine:
            return "HKLM";
        case kHkeyUsers:
            return "HKU";
        case kHkeyCurrentConfig:
            return "HKCC";
        default:
            return "";
    }
}

// RegCloseKey; the system's code leaves it to RegKey.
long RegCloseKey(std::uintptr_t handle);

struct RegKeyTraits {
    using Type = std::uintptr_t;
    static Type Invalid() { return 0; }
    static void Close(Type handle) { RegCloseKey(handle); }
};
// The one owner of an open registry key: closes it when it goes.
using RegKey = base::UniqueAny<RegKeyTraits>;

// RegOpenKeyExW under a predefined root or under an open key.
long OpenKey(RootKey root, const std::string& subKey, std::uint32_t options, std::uint32_t access,
             RegKey& result);
long OpenKey(const RegKey& parent, const std::string& subKey, std::uint32_t options,
             std::uint32_t access, RegKey& result);
// RegCreateKeyExW with the default class and options; opens the key when it exists.
long CreateKey(RootKey root, const std::string& subKey, std::uint32_t access, RegKey& result);
// RegDeleteTreeW: the key with all its subkeys and values. Open handles to any of them
// answer ERROR_KEY_DELETED afterwards. An empty `subKey` is refused with
// ERROR_INVALID_PARAMETER: the real call would empty the whole root.
long DeleteKeyTree(RootKey root, const std::string& subKey);

// `type` and `data` may be null; `size` is in and out as for the real call.
long QueryValue(const RegKey& key, const std::string& valueName, std::uint32_t* type, void* data,
                std::uint32_t* size);
long SetValue(const RegKey& key, const std::string& valueName, std::uint32_t type, const void* data,
              std::uint32_t size);
long DeleteValue(const RegKey& key, const std::string& valueName);
// RegEnumKeyExW and RegEnumValueW. `maxName` is the caller's buffer in UTF-16 characters,
// the NUL included: a longer name gives ERROR_MORE_DATA, as the real calls do.
long EnumKey(const RegKey& key, std::uint32_t index, std::string& name, std::uint32_t maxName);
long EnumValue(const RegKey& key, std::uint32_t index, std::string& name, std::uint32_t maxName,
               std::uint32_t* type, void* data, std::uint32_t* dataSize);

}  // namespace platform
