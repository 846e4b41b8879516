#include "platform/registry.h"

#include <windows.h>

namespace platform {
namespace {

// Predefined roots are sign-extended 32-bit values on 64-bit Windows.
HKEY RootHandle(RootKey root) {
    return reinterpret_cast<HKEY>(static_cast<std::intptr_t>(static_cast<std::int32_t>(root)));
}

HKEY KeyHandle(const RegKey& key) {
    return reinterpret_cast<HKEY>(key.Handle());
}

long Open(HKEY parent, const std::string& subKey, std::uint32_t options, std::uint32_t access,
          RegKey& result) {
    HKEY opened = nullptr;
    const long rc = ::RegOpenKeyExA(parent, subKey.c_str(), options, access, &opened);
    result.Reset(rc == ERROR_SUCCESS ? reinterpret_cast<std::uintptr_t>(opened) : 0);
    return rc;
}

}  // namespace

long RegCloseKey(std::uintptr_t handle) {
    return ::RegCloseKey(reinterpret_cast<HKEY>(handle));
}

long OpenKey(RootKey root, const std::string& subKey, std::uint32_t options, std::uint32_t access,
             RegKey& result) {
    return Open(RootHandle(root), subKey, options, access, result);
}

long OpenKey(const RegKey& parent, const std::string& subKey, std::uint32_t options,
             std::uint32_t access, RegKey& result) {
    return Open(KeyHandle(parent), subKey, options, access, result);
}

long CreateKey(RootKey root, const std::string& subKey, std::uint32_t access, RegKey& result) {
    HKEY created = nullptr;
    const long rc = ::RegCreateKeyExA(RootHandle(root), subKey.c_str(), 0, nullptr,
                                      REG_OPTION_NON_VOLATILE, access, nullptr, &created, nullptr);
    result.Reset(rc == ERROR_SUCCESS ? reinterpret_cast<std::uintptr_t>(created) : 0);
    return rc;
}

long DeleteKeyTree(RootKey root, const std::string& subKey) {
    // The real call takes an empty path for the root itself and empties it.
    if (subKey.empty()) return ERROR_INVALID_PARAMETER;
    return ::RegDeleteTreeA(RootHandle(root), subKey.c_str());
}

long QueryValue(const RegKey& key, const std::string& valueName, std::uint32_t* type, void* data,
                std::uint32_t* size) {
    DWORD dwType = 0;
    DWORD dwSize = size ? *size : 0;
    const long rc = ::RegQueryValueExA(KeyHandle(key), valueName.c_str(), nullptr, &dwType,
                                       static_cast<BYTE*>(data), size ? &dwSize : nullptr);
    if (type) *type = dwType;
    if (size) *size = dwSize;
    return rc;
}

long SetValue(const RegKey& key, const std::string& valueName, std::uint32_t type, const void* data,
              std::uint32_t size) {
    return ::RegSetValueExA(KeyHandle(key), valueName.c_str(), 0, type,
                            static_cast<const BYTE*>(data), size);
}

long DeleteValue(const RegKey& key, const std::string& valueName) {
    return ::RegDeleteValueA(KeyHandle(key), valueName.c_str());
}

long EnumKey(const RegKey& key, std::uint32_t index, char* name, std::uint32_t* nameSize) {
    DWORD dwSize = *nameSize;
    const long rc =
        ::RegEnumKeyExA(KeyHandle(key), index, name, &dwSize, nullptr, nullptr, nullptr, nullptr);
    *nameSize = dwSize;
    return rc;
}

long EnumValue(const RegKey& key, std::uint32_t index, char* name, std::uint32_t* nameSize,
               std::uint32_t* type, void* data, std::uint32_t* dataSize) {
    DWORD dwName = *nameSize;
    DWORD dwType = 0;
    DWORD dwData = dataSize ? *dataSize : 0;
    const long rc = ::RegEnumValueA(KeyHandle(key), index, name, &dwName, nullptr, &dwType,
                                    static_cast<BYTE*>(data), dataSize ? &dwData : nullptr);
    *nameSize = dwName;
    if (type) *type = dwType;
    if (dataSize) *dataSize = dwData;
    return rc;
}

}  // namespace platform
