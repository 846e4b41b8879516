#include "core/registry.h"

#include <vector>

#include "core/logs.h"
#include "platform/errors.h"

namespace core {

namespace {

constexpr std::uint32_t kValueBufferSize = 1024;

void LogRegistryError(const char* procedure, long code) {
    WriteLog(std::string("Error: ") + procedure + ": " + std::to_string(code) + ": " +
             platform::ErrorDescription(code));
}

}  // namespace

std::string ReadRegistryText(platform::RootKey root, const std::string& keyPath,
                             const std::string& valueName) {
    platform::RegKey key;
    if (platform::OpenKey(root, keyPath, 0, platform::kKeyAllAccess, key) !=
        platform::kErrorSuccess)
        return {};
    char buffer[kValueBufferSize];
    std::uint32_t size = kValueBufferSize;
    if (platform::QueryValue(key, valueName, nullptr, buffer, &size) != platform::kErrorSuccess ||
        size == 0)
        return {};
    // Strings are stored with their NUL as a rule, but not by every program: only a
    // terminating NUL that is really there is dropped, so the last character survives.
    if (buffer[size - 1] == '\0') --size;
    return std::string(buffer, size);
}

bool DeleteRegistryValue(platform::RootKey root, const std::string& keyPath,
                         const std::string& valueName) {
    if (valueName.empty()) {
        WriteLog("Error: DeleteRegistryValue: valuename is empty");
        return false;
    }
    platform::RegKey key;
    const long opened = platform::OpenKey(root, keyPath, 0, platform::kKeyAllAccess, key);
    if (opened != platform::kErrorSuccess) return opened == platform::kErrorFileNotFound;
    const long rc = platform::DeleteValue(key, valueName);
    if (rc == platform::kErrorSuccess || rc == platform::kErrorFileNotFound) return true;
    LogRegistryError("DeleteRegistryValue", rc);
    return false;
}

bool WriteRegistryText(platform::RootKey root, const std::string& keyPath,
                       const std::string& valueName, const std::string& data) {
    platform::RegKey key;
    if (platform::OpenKey(root, keyPath, 0, platform::kKeyAllAccess, key) !=
        platform::kErrorSuccess)
        return false;
    const long rc = platform::SetValue(key, valueName, platform::kRegSz, data.c_str(),
                                       static_cast<std::uint32_t>(data.size() + 1));
    if (rc == platform::kErrorSuccess) return true;
    LogRegistryError("ChangeRegistryValue", rc);
    return false;
}

bool RenameRegistryValue(platform::RootKey root, const std::string& keyPath,
                         const std::string& oldName, const std::string& newName) {
    if (oldName.empty() || newName.empty()) {
        WriteLog("Error: RenameRegistryValue: valuename is empty");
        return false;
    }
    platform::RegKey key;
    if (platform::OpenKey(root, keyPath, 0, platform::kKeyAllAccess, key) !=
        platform::kErrorSuccess)
        return false;
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    long rc = platform::QueryValue(key, oldName, &type, nullptr, &size);
    std::vector<char> data(size + 1);  // never empty, so that data() is a real buffer
    if (rc == platform::kErrorSuccess)
        rc = platform::QueryValue(key, oldName, &type, data.data(), &size);
    if (rc != platform::kErrorSuccess) {
        LogRegistryError("RenameRegistryValue", rc);
        return false;
    }
    // A value of the new name keeps what it holds (a shared DLL's own use count, say).
    if (platform::QueryValue(key, newName, nullptr, nullptr, nullptr) !=
        platform::kErrorFileNotFound) {
        WriteLog("Error: RenameRegistryValue: valuename exists");
        return false;
    }
    rc = platform::SetValue(key, newName, type, data.data(), size);
    if (rc == platform::kErrorSuccess) {
        rc = platform::DeleteValue(key, oldName);
        // Both names must not stay: the copy goes again when the old value cannot.
        if (rc != platform::kErrorSuccess) platform::DeleteValue(key, newName);
    }
    if (rc == platform::kErrorSuccess) return true;
    LogRegistryError("RenameRegistryValue", rc);
    return false;
}

namespace {

bool IsStringType(std::uint32_t type) {
    return type == platform::kRegSz || type == platform::kRegExpandSz ||
           type == platform::kRegMultiSz;
}

std::string_view WithoutEndingNuls(const RegistryValue& value) {
    std::string_view data = value.data;
    if (IsStringType(value.type))
        while (!data.empty() && data.back() == '\0')
            data.remove_suffix(1);
    return data;
}

}  // namespace

bool SameRegistryValue(const RegistryValue& a, const RegistryValue& b) {
    return a.type == b.type && WithoutEndingNuls(a) == WithoutEndingNuls(b);
}

long ReadRegistryValue(platform::RootKey root, const std::string& keyPath,
                       const std::string& valueName, std::optional<RegistryValue>& value) {
    value.reset();
    platform::RegKey key;
    long rc = platform::OpenKey(root, keyPath, 0, platform::kKeyRead, key);
    RegistryValue read;
    std::uint32_t size = 0;
    if (rc == platform::kErrorSuccess)
        rc = platform::QueryValue(key, valueName, &read.type, nullptr, &size);
    if (rc == platform::kErrorSuccess) {
        read.data.resize(size);
        rc = platform::QueryValue(key, valueName, &read.type, read.data.data(), &size);
        read.data.resize(size);
    }
    if (rc == platform::kErrorFileNotFound) return platform::kErrorSuccess;
    if (rc == platform::kErrorSuccess) value = std::move(read);
    return rc;
}

long WriteRegistryValue(platform::RootKey root, const std::string& keyPath,
                        const std::string& valueName, const RegistryValue& value) {
    platform::RegKey key;
    long rc = platform::CreateKey(root, keyPath, platform::kKeyAllAccess, key);
    if (rc == platform::kErrorSuccess)
        rc = platform::SetValue(key, valueName, value.type, value.data.data(),
                                static_cast<std::uint32_t>(value.data.size()));
    return rc;
}

}  // namespace core
