#include "core/registry_access.h"

#include "core/logs.h"
#include "platform/errors.h"

namespace {

constexpr std::uint32_t kValueBufferSize = 1024;

void LogRegistryError(const char* procedure, long code) {
    WriteLog(std::string("Error: ") + procedure + ": " + std::to_string(code) + ": " +
             platform::ErrorDescription(code));
}

}  // namespace

std::string GetRootKeyName(platform::RootKey root) {
    return platform::RootKeyName(root);
}

std::string ReadRegistryValue(platform::RootKey root, const std::string& keyPath,
                              const std::string& valueName) {
    platform::RegKey key;
    if (platform::RegOpenKeyExA(root, keyPath, 0, platform::kKeyAllAccess, key) !=
        platform::kErrorSuccess)
        return {};
    char buffer[kValueBufferSize];
    std::uint32_t size = kValueBufferSize;
    if (platform::RegQueryValueExA(key, valueName, nullptr, buffer, &size) !=
            platform::kErrorSuccess ||
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
    const long opened = platform::RegOpenKeyExA(root, keyPath, 0, platform::kKeyAllAccess, key);
    if (opened != platform::kErrorSuccess) return opened == platform::kErrorFileNotFound;
    const long rc = platform::RegDeleteValueA(key, valueName);
    if (rc == platform::kErrorSuccess || rc == platform::kErrorFileNotFound) return true;
    LogRegistryError("DeleteRegistryValue", rc);
    return false;
}

bool ChangeRegistryValue(platform::RootKey root, const std::string& keyPath,
                         const std::string& valueName, const std::string& data) {
    platform::RegKey key;
    if (platform::RegOpenKeyExA(root, keyPath, 0, platform::kKeyAllAccess, key) !=
        platform::kErrorSuccess)
        return false;
    const long rc = platform::RegSetValueExA(key, valueName, platform::kRegSz, data.c_str(),
                                             static_cast<std::uint32_t>(data.size() + 1));
    if (rc == platform::kErrorSuccess) return true;
    LogRegistryError("ChangeRegistryValue", rc);
    return false;
}
