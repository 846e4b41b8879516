// The sandbox registry: an in-memory tree under the five predefined roots.
#include <cstring>

#include "platform/errors.h"
#include "platform/registry.h"
#include "platform/sandbox/machine.h"
#include "platform/sandbox/sandbox.h"

namespace platform {
namespace {

using sandbox::RegKeyNode;
using sandbox::TheMachine;

constexpr std::uint32_t kKeySetValue = 0x0002;
constexpr std::uint32_t kReadRights = kKeyRead;

std::shared_ptr<RegKeyNode> NodeOf(std::uintptr_t handle) {
    auto& m = TheMachine();
    if (auto root = m.roots.find(static_cast<RootKey>(handle)); root != m.roots.end())
        return root->second;
    auto open = m.openKeys.find(handle);
    if (open == m.openKeys.end() || open->second.node->deleted) return nullptr;
    return open->second.node;
}

std::uint32_t AccessOf(std::uintptr_t handle) {
    auto& m = TheMachine();
    auto open = m.openKeys.find(handle);
    return open == m.openKeys.end() ? kKeyAllAccess : open->second.access;
}

std::string PathOf(std::uintptr_t handle) {
    static const std::map<RootKey, std::string> names = {{kHkeyClassesRoot, "HKCR"},
                                                         {kHkeyCurrentUser, "HKCU"},
                                                         {kHkeyLocalMachine, "HKLM"},
                                                         {kHkeyUsers, "HKU"},
                                                         {kHkeyCurrentConfig, "HKCC"}};
    if (auto root = names.find(static_cast<RootKey>(handle)); root != names.end())
        return root->second;
    auto open = TheMachine().openKeys.find(handle);
    return open == TheMachine().openKeys.end() ? "?" : open->second.path;
}

void Record(const char* change, const RegKey& key, const std::string& valueName) {
    TheMachine().journal.push_back(std::string(change) + " " + PathOf(key.Handle()) + "\\" +
                                   valueName);
}

// Walks (and with `create`, makes) the path below `start`; readOnly anywhere on the way
// refuses every access beyond reading.
long Walk(std::uintptr_t parent, const std::string& subKey, std::uint32_t access, bool create,
          RegKey& result) {
    auto start = NodeOf(parent);
    if (!start) return kErrorInvalidHandle;
    auto node = start;
    bool readOnly = node->readOnly;
    for (const auto& part : sandbox::SplitPath(subKey)) {
        auto it = node->subkeys.find(part);
        if (it == node->subkeys.end()) {
            if (!create) return kErrorFileNotFound;
            if (readOnly) return kErrorAccessDenied;
            it = node->subkeys.emplace(part, std::make_shared<RegKeyNode>()).first;
        }
        node = it->second;
        readOnly = readOnly || node->readOnly;
    }
    if (readOnly && (access & ~kReadRights) != 0) return kErrorAccessDenied;
    auto& m = TheMachine();
    const std::uintptr_t handle = m.nextHandle++;
    std::string path = PathOf(parent);
    for (const auto& part : sandbox::SplitPath(subKey))
        path += "\\" + part;
    m.openKeys[handle] = {node, access, path};
    result.Reset(handle);
    return kErrorSuccess;
}

long CopyOut(const std::string& bytes, void* data, std::uint32_t* size) {
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

// Copies a name with its NUL; `size` counts characters, as the Enum calls do.
long CopyName(const std::string& text, char* name, std::uint32_t* size) {
    if (text.size() + 1 > *size) return kErrorMoreData;
    std::memcpy(name, text.c_str(), text.size() + 1);
    *size = static_cast<std::uint32_t>(text.size());
    return kErrorSuccess;
}

}  // namespace

long RegCloseKey(std::uintptr_t handle) {
    return TheMachine().openKeys.erase(handle) ? kErrorSuccess : kErrorInvalidHandle;
}

long RegOpenKeyExA(RootKey root, const std::string& subKey, std::uint32_t, std::uint32_t access,
                   RegKey& result) {
    result.Reset();
    return Walk(root, subKey, access, false, result);
}

long RegOpenKeyExA(const RegKey& parent, const std::string& subKey, std::uint32_t,
                   std::uint32_t access, RegKey& result) {
    result.Reset();
    return Walk(parent.Handle(), subKey, access, false, result);
}

long RegCreateKeyExA(RootKey root, const std::string& subKey, std::uint32_t access,
                     RegKey& result) {
    result.Reset();
    return Walk(root, subKey, access, true, result);
}

long RegDeleteTreeA(RootKey root, const std::string& subKey) {
    auto parts = sandbox::SplitPath(subKey);
    if (parts.empty()) return kErrorInvalidParameter;
    const std::string last = parts.back();
    parts.pop_back();
    auto node = NodeOf(root);
    for (const auto& part : parts) {
        if (!node) break;
        auto it = node->subkeys.find(part);
        node = it == node->subkeys.end() ? nullptr : it->second;
    }
    if (!node || !node->subkeys.count(last)) return kErrorFileNotFound;
    if (node->readOnly) return kErrorAccessDenied;
    node->subkeys[last]->deleted = true;
    node->subkeys.erase(last);
    return kErrorSuccess;
}

long RegQueryValueExA(const RegKey& key, const std::string& valueName, std::uint32_t* type,
                      void* data, std::uint32_t* size) {
    auto node = NodeOf(key.Handle());
    if (!node) return kErrorInvalidHandle;
    const auto* value = node->FindValue(valueName);
    if (!value) return kErrorFileNotFound;
    if (type) *type = value->type;
    return CopyOut(value->data, data, size);
}

long RegSetValueExA(const RegKey& key, const std::string& valueName, std::uint32_t type,
                    const void* data, std::uint32_t size) {
    auto node = NodeOf(key.Handle());
    if (!node) return kErrorInvalidHandle;
    if (!(AccessOf(key.Handle()) & kKeySetValue)) return kErrorAccessDenied;
    if (node->failChanges) return node->failChanges;
    Record("set", key, valueName);
    std::string bytes(static_cast<const char*>(data), size);
    if (auto* value = node->FindValue(valueName)) {
        value->type = type;
        value->data = std::move(bytes);
    } else {
        node->values.push_back({valueName, type, std::move(bytes)});
    }
    return kErrorSuccess;
}

long RegDeleteValueA(const RegKey& key, const std::string& valueName) {
    auto node = NodeOf(key.Handle());
    if (!node) return kErrorInvalidHandle;
    if (!(AccessOf(key.Handle()) & kKeySetValue)) return kErrorAccessDenied;
    if (node->failChanges) return node->failChanges;
    auto* value = node->FindValue(valueName);
    if (!value) return kErrorFileNotFound;
    Record("delete", key, valueName);
    node->values.erase(node->values.begin() + (value - node->values.data()));
    return kErrorSuccess;
}

long RegEnumKeyExA(const RegKey& key, std::uint32_t index, char* name, std::uint32_t* nameSize) {
    auto node = NodeOf(key.Handle());
    if (!node) return kErrorInvalidHandle;
    if (index >= node->subkeys.size()) return kErrorNoMoreItems;
    return CopyName(std::next(node->subkeys.begin(), index)->first, name, nameSize);
}

long RegEnumValueA(const RegKey& key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                   std::uint32_t* type, void* data, std::uint32_t* dataSize) {
    auto node = NodeOf(key.Handle());
    if (!node) return kErrorInvalidHandle;
    if (index >= node->values.size()) return kErrorNoMoreItems;
    const auto& value = node->values[index];
    if (const long rc = CopyName(value.name, name, nameSize); rc != kErrorSuccess) return rc;
    if (type) *type = value.type;
    return CopyOut(value.data, data, dataSize);
}

}  // namespace platform

namespace sandbox {

RegValueEntry* RegKeyNode::FindValue(const std::string& name) {
    for (auto& value : values)
        if (Lower(value.name) == Lower(name)) return &value;
    return nullptr;
}

namespace {

std::shared_ptr<RegKeyNode> FindKey(platform::RootKey root, const std::string& key, bool create) {
    auto it = TheMachine().roots.find(root);
    if (it == TheMachine().roots.end()) return nullptr;
    auto node = it->second;
    for (const auto& part : SplitPath(key)) {
        auto sub = node->subkeys.find(part);
        if (sub == node->subkeys.end()) {
            if (!create) return nullptr;
            sub = node->subkeys.emplace(part, std::make_shared<RegKeyNode>()).first;
        }
        node = sub->second;
    }
    return node;
}

}  // namespace

const std::vector<std::string>& Journal() {
    return TheMachine().journal;
}

void CreateKey(platform::RootKey root, const std::string& key) {
    FindKey(root, key, true);
}

void SetValue(platform::RootKey root, const std::string& key, const std::string& name,
              std::uint32_t type, const std::string& data) {
    auto node = FindKey(root, key, true);
    if (auto* value = node->FindValue(name)) {
        *value = {value->name, type, data};
    } else {
        node->values.push_back({name, type, data});
    }
}

void SetString(platform::RootKey root, const std::string& key, const std::string& name,
               const std::string& text) {
    SetValue(root, key, name, platform::kRegSz, text + '\0');
}

std::optional<Value> GetValue(platform::RootKey root, const std::string& key,
                              const std::string& name) {
    auto node = FindKey(root, key, false);
    const auto* value = node ? node->FindValue(name) : nullptr;
    if (!value) return std::nullopt;
    return Value{value->type, value->data};
}

bool KeyExists(platform::RootKey root, const std::string& key) {
    return FindKey(root, key, false) != nullptr;
}

void RefuseFullAccess(platform::RootKey root, const std::string& key) {
    FindKey(root, key, true)->readOnly = true;
}

void FailValueChanges(platform::RootKey root, const std::string& key, long code) {
    FindKey(root, key, true)->failChanges = code;
}

}  // namespace sandbox
