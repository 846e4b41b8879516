// The registry through the wide registry functions. Names cross as UTF-8; the data of the
// string types is read whole in UTF-16 and handed over in UTF-8, with its sizes counted in
// UTF-8 bytes, and written back the other way.
#include "platform/registry.h"
#include "platform/value_copy.h"

#include <windows.h>

#include <cstring>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "platform/win32/wide.h"

namespace platform {
namespace {

using win32::Wide;

// What a first read takes before it asks for more: most values fit.
constexpr DWORD kFirstReadBytes = 512;

// Predefined roots are sign-extended 32-bit values on 64-bit Windows.
HKEY RootHandle(RootKey root) {
    return reinterpret_cast<HKEY>(static_cast<std::intptr_t>(static_cast<std::int32_t>(root)));
}

HKEY KeyHandle(const RegKey& key) {
    return reinterpret_cast<HKEY>(key.get());
}

bool IsString(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// The stored bytes as the system's code sees them: strings from UTF-16 to UTF-8 (their NULs
// with them, an odd last byte dropped), other data as it is.
std::string FromStored(DWORD type, const BYTE* bytes, DWORD size) {
    if (!IsString(type)) return std::string(reinterpret_cast<const char*>(bytes), size);
    std::u16string units(size / 2, u'\0');
    std::memcpy(units.data(), bytes, units.size() * sizeof(char16_t));
    return base::Utf8FromUtf16(units);
}

// The bytes to store for the system's data: strings from UTF-8 to UTF-16, each NUL where the
// UTF-8 had it. The size to store is `size`; what follows it is no NUL, for the real call
// counts a NUL it finds right after a string stored without one as the string's own.
struct Stored {
    std::vector<BYTE> bytes;
    DWORD size = 0;
};
Stored ToStored(DWORD type, const void* data, DWORD size) {
    Stored stored;
    if (!data) return stored;
    const auto* bytes = static_cast<const BYTE*>(data);
    if (!IsString(type)) {
        stored.bytes.assign(bytes, bytes + size);
        stored.size = size;
        return stored;
    }
    std::u16string units =
        base::Utf16FromUtf8(std::string_view(static_cast<const char*>(data), size));
    stored.size = static_cast<DWORD>(units.size() * sizeof(char16_t));
    units += u'\xFFFF';  // a noncharacter, never stored
    stored.bytes.resize(units.size() * sizeof(char16_t));
    std::memcpy(stored.bytes.data(), units.data(), stored.bytes.size());
    return stored;
}

// Reads a value whole with `read(buffer, size)`, a call that answers ERROR_MORE_DATA with
// the size it needs; `read` gets a larger buffer until the value fits.
template <typename Read>
long ReadWhole(std::vector<BYTE>& buffer, DWORD& size, Read read) {
    buffer.resize(kFirstReadBytes);
    for (;;) {
        size = static_cast<DWORD>(buffer.size());
        const long rc = read(buffer.data(), &size);
        if (rc != ERROR_MORE_DATA || size <= buffer.size()) return rc;
        buffer.resize(size);
    }
}

long Open(HKEY parent, const std::string& subKey, std::uint32_t options, std::uint32_t access,
          RegKey& result) {
    HKEY opened = nullptr;
    const long rc = ::RegOpenKeyExW(parent, Wide(subKey).c_str(), options, access, &opened);
    result.reset(rc == ERROR_SUCCESS ? reinterpret_cast<std::uintptr_t>(opened) : 0);
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
    const long rc = ::RegCreateKeyExW(RootHandle(root), Wide(subKey).c_str(), 0, nullptr,
                                      REG_OPTION_NON_VOLATILE, access, nullptr, &created, nullptr);
    result.reset(rc == ERROR_SUCCESS ? reinterpret_cast<std::uintptr_t>(created) : 0);
    return rc;
}

long DeleteKeyTree(RootKey root, const std::string& subKey) {
    // The real call takes an empty path for the root itself and empties it.
    if (subKey.empty()) return ERROR_INVALID_PARAMETER;
    return ::RegDeleteTreeW(RootHandle(root), Wide(subKey).c_str());
}

long QueryValue(const RegKey& key, const std::string& valueName, std::uint32_t* type, void* data,
                std::uint32_t* size) {
    const std::wstring name = Wide(valueName);
    DWORD storedType = 0;
    std::vector<BYTE> stored;
    DWORD storedSize = 0;
    const long rc = ReadWhole(stored, storedSize, [&](BYTE* buffer, DWORD* bufferSize) {
        return ::RegQueryValueExW(KeyHandle(key), name.c_str(), nullptr, &storedType, buffer,
                                  bufferSize);
    });
    if (rc != ERROR_SUCCESS) return rc;
    if (type) *type = storedType;
    return CopyValueData(FromStored(storedType, stored.data(), storedSize), data, size);
}

long SetValue(const RegKey& key, const std::string& valueName, std::uint32_t type, const void* data,
              std::uint32_t size) {
    const Stored stored = ToStored(type, data, size);
    return ::RegSetValueExW(KeyHandle(key), Wide(valueName).c_str(), 0, type,
                            stored.bytes.empty() ? nullptr : stored.bytes.data(), stored.size);
}

long DeleteValue(const RegKey& key, const std::string& valueName) {
    return ::RegDeleteValueW(KeyHandle(key), Wide(valueName).c_str());
}

// The buffer is exactly the caller's: a name that would not fit there is ERROR_MORE_DATA.
long EnumKey(const RegKey& key, std::uint32_t index, std::string& name, std::uint32_t maxName) {
    std::vector<wchar_t> buffer(maxName > 0 ? maxName : 1);
    DWORD length = maxName;
    const long rc = ::RegEnumKeyExW(KeyHandle(key), index, buffer.data(), &length, nullptr, nullptr,
                                    nullptr, nullptr);
    if (rc == ERROR_SUCCESS) name = win32::Narrow(std::wstring_view(buffer.data(), length));
    return rc;
}

long EnumValue(const RegKey& key, std::uint32_t index, std::string& name, std::uint32_t maxName,
               std::uint32_t* type, void* data, std::uint32_t* dataSize) {
    std::vector<wchar_t> nameBuffer(maxName > 0 ? maxName : 1);
    DWORD nameLength = 0;
    DWORD storedType = 0;
    const bool wantData = data || dataSize;
    long rc;
    std::vector<BYTE> stored;
    DWORD storedSize = 0;
    if (wantData) {
        // ERROR_MORE_DATA with a larger size asks for a larger data buffer; once the data
        // fits, the name did not.
        rc = ReadWhole(stored, storedSize, [&](BYTE* buffer, DWORD* bufferSize) {
            nameLength = maxName;
            return ::RegEnumValueW(KeyHandle(key), index, nameBuffer.data(), &nameLength, nullptr,
                                   &storedType, buffer, bufferSize);
        });
    } else {
        nameLength = maxName;
        rc = ::RegEnumValueW(KeyHandle(key), index, nameBuffer.data(), &nameLength, nullptr,
                             &storedType, nullptr, nullptr);
    }
    if (rc != ERROR_SUCCESS) return rc;
    name = win32::Narrow(std::wstring_view(nameBuffer.data(), nameLength));
    if (type) *type = storedType;
    return wantData
               ? CopyValueData(FromStored(storedType, stored.data(), storedSize), data, dataSize)
               : ERROR_SUCCESS;
}

}  // namespace platform
