// The sandbox registry: an in-memory tree under the five predefined roots.
#include <cstring>
#include <stdexcept>
#include <utility>

#include "platform/errors.h"
#include "platform/registry.h"
#include "platform/value_copy.h"
#include "platform/sandbox/machine.h"
#include "platform/sandbox/sandbox.h"
#include "base/text.h"

namespace sandbox {
namespace {

// The names of a key path. Only a backslash separates them ("text/html" is one key);
// doubled and trailing ones are taken as one, a leading one is ERROR_BAD_PATHNAME.
long SplitKeyPath(const std::string& path, std::vector<std::string>& names) {
    names.clear();
    if (!path.empty() && path.front() == '\\') return platform::kErrorBadPathname;
    size_t begin = 0;
    while (begin < path.size()) {
        size_t end = path.find('\\', begin);
        if (end == std::string::npos) end = path.size();
        if (end > begin) names.push_back(path.substr(begin, end - begin));
        begin = end + 1;
    }
    return platform::kErrorSuccess;
}

// Follows `names` down from `node`, making missing keys with `create`. `readOnly` (null
// for the test's own set-up, which may do anything) comes in as the start's refusal and
// goes out as the found key's: refusing full access passes on to every key below, and
// nothing can be made below such a key.
long Descend(std::shared_ptr<RegKeyNode>& node, const std::vector<std::string>& names, bool create,
             bool* readOnly) {
    for (const auto& name : names) {
        auto it = node->subkeys.find(name);
        if (it == node->subkeys.end()) {
            if (!create) return platform::kErrorFileNotFound;
            if (readOnly && *readOnly) return platform::kErrorAccessDenied;
            it = node->subkeys.emplace(name, std::make_shared<RegKeyNode>()).first;
        }
        node = it->second;
        if (readOnly) *readOnly = *readOnly || node->readOnly;
    }
    return platform::kErrorSuccess;
}

}  // namespace
}  // namespace sandbox

namespace platform {
namespace {

using sandbox::OpenedKey;
using sandbox::RegKeyNode;
using sandbox::TheMachine;

constexpr std::uint32_t kKeySetValue = 0x0002;
constexpr std::uint32_t kReadRights = kKeyRead;

// What a handle stands for: a predefined root or an open key that still exists.
long Resolve(std::uintptr_t handle, OpenedKey& result) {
    auto& m = TheMachine();
    if (auto root = m.roots.find(static_cast<RootKey>(handle)); root != m.roots.end()) {
        result = {root->second, kKeyAllAccess, RootKeyName(root->first), root->second->readOnly};
        return kErrorSuccess;
    }
    auto open = m.openKeys.find(handle);
    if (open == m.openKeys.end()) return kErrorInvalidHandle;
    if (open->second.node->deleted) return kErrorKeyDeleted;
    result = open->second;
    return kErrorSuccess;
}

// Opens (with `create`, makes) the path below `parent`.
long Walk(std::uintptr_t parent, const std::string& subKey, std::uint32_t access, bool create,
          RegKey& result) {
    result.reset();
    OpenedKey start;
    std::vector<std::string> names;
    if (const long rc = Resolve(parent, start); rc != kErrorSuccess) return rc;
    if (const long rc = sandbox::SplitKeyPath(subKey, names); rc != kErrorSuccess) return rc;
    auto node = start.node;
    bool readOnly = start.readOnly;
    if (const long rc = sandbox::Descend(node, names, create, &readOnly); rc != kErrorSuccess)
        return rc;
    if (readOnly && (access & ~kReadRights) != 0) return kErrorAccessDenied;
    auto& m = TheMachine();
    const std::uintptr_t handle = m.nextHandle++;
    for (const auto& name : names)
        start.path += "\\" + name;
    m.openKeys[handle] = {node, access, start.path, readOnly};
    result.reset(handle);
    if (auto action = std::exchange(m.afterNextKeyOpen, nullptr)) action();
    return kErrorSuccess;
}

// A key and its subtree may go only when none of them refuses full access.
bool AnyReadOnly(const RegKeyNode& node) {
    if (node.readOnly) return true;
    for (const auto& [name, sub] : node.subkeys)
        if (AnyReadOnly(*sub)) return true;
    return false;
}

void MarkDeleted(RegKeyNode& node) {
    node.deleted = true;
    for (const auto& [name, sub] : node.subkeys)
        MarkDeleted(*sub);
}

// The open key of a value call, refused when the call changes the key and the handle was
// not opened for it.
long KeyFor(const RegKey& key, bool change, OpenedKey& target) {
    if (const long rc = Resolve(key.get(), target); rc != kErrorSuccess) return rc;
    return change && !(target.access & kKeySetValue) ? kErrorAccessDenied : kErrorSuccess;
}

void Record(const char* change, const OpenedKey& key, const std::string& valueName) {
    TheMachine().journal.push_back(std::string(change) + " " + key.path + "\\" + valueName);
}

// A name with its NUL must fit the caller's buffer, counted in UTF-16 characters as the
// wide Enum calls count it.
long CopyName(const std::string& text, std::string& name, std::uint32_t maxName) {
    if (base::Utf16Length(text) + 1 > maxName) return kErrorMoreData;
    name = text;
    return kErrorSuccess;
}

}  // namespace

long RegCloseKey(std::uintptr_t handle) {
    return TheMachine().openKeys.erase(handle) ? kErrorSuccess : kErrorInvalidHandle;
}

long OpenKey(RootKey root, const std::string& subKey, std::uint32_t, std::uint32_t access,
             RegKey& result) {
    return Walk(root, subKey, access, false, result);
}

long OpenKey(const RegKey& parent, const std::string& subKey, std::uint32_t, std::uint32_t access,
             RegKey& result) {
    return Walk(parent.get(), subKey, access, false, result);
}

long CreateKey(RootKey root, const std::string& subKey, std::uint32_t access, RegKey& result) {
    return Walk(root, subKey, access, true, result);
}

long DeleteKeyTree(RootKey root, const std::string& subKey) {
    OpenedKey parent;
    std::vector<std::string> names;
    if (const long rc = Resolve(root, parent); rc != kErrorSuccess) return rc;
    if (const long rc = sandbox::SplitKeyPath(subKey, names); rc != kErrorSuccess) return rc;
    if (names.empty()) return kErrorInvalidParameter;
    const std::string last = names.back();
    names.pop_back();
    bool readOnly = parent.readOnly;
    if (const long rc = sandbox::Descend(parent.node, names, false, &readOnly); rc != kErrorSuccess)
        return rc;
    const auto it = parent.node->subkeys.find(last);
    if (it == parent.node->subkeys.end()) return kErrorFileNotFound;
    // All or nothing: the real call would stop at the first key it may not delete.
    if (readOnly || AnyReadOnly(*it->second)) return kErrorAccessDenied;
    MarkDeleted(*it->second);
    parent.node->subkeys.erase(it);
    return kErrorSuccess;
}

long QueryValue(const RegKey& key, const std::string& valueName, std::uint32_t* type, void* data,
                std::uint32_t* size) {
    OpenedKey target;
    if (const long rc = KeyFor(key, false, target); rc != kErrorSuccess) return rc;
    const auto& node = target.node;
    const auto* value = node->FindValue(valueName);
    if (!value) return kErrorFileNotFound;
    if (type) *type = value->type;
    return CopyValueData(value->data, data, size);
}

long SetValue(const RegKey& key, const std::string& valueName, std::uint32_t type, const void* data,
              std::uint32_t size) {
    OpenedKey target;
    if (const long rc = KeyFor(key, true, target); rc != kErrorSuccess) return rc;
    const auto& node = target.node;
    Record("set", target, valueName);
    std::string bytes(static_cast<const char*>(data), size);
    if (auto* value = node->FindValue(valueName)) {
        value->type = type;
        value->data = std::move(bytes);
    } else {
        node->values.push_back({valueName, type, std::move(bytes)});
    }
    return kErrorSuccess;
}

long DeleteValue(const RegKey& key, const std::string& valueName) {
    OpenedKey target;
    if (const long rc = KeyFor(key, true, target); rc != kErrorSuccess) return rc;
    const auto& node = target.node;
    auto* value = node->FindValue(valueName);
    if (!value) return kErrorFileNotFound;
    Record("delete", target, valueName);
    node->values.erase(node->values.begin() + (value - node->values.data()));
    return kErrorSuccess;
}

long EnumKey(const RegKey& key, std::uint32_t index, std::string& name, std::uint32_t maxName) {
    OpenedKey target;
    if (const long rc = KeyFor(key, false, target); rc != kErrorSuccess) return rc;
    const auto& node = target.node;
    if (index >= node->subkeys.size()) return kErrorNoMoreItems;
    return CopyName(std::next(node->subkeys.begin(), index)->first, name, maxName);
}

long EnumValue(const RegKey& key, std::uint32_t index, std::string& name, std::uint32_t maxName,
               std::uint32_t* type, void* data, std::uint32_t* dataSize) {
    OpenedKey target;
    if (const long rc = KeyFor(key, false, target); rc != kErrorSuccess) return rc;
    const auto& node = target.node;
    if (index >= node->values.size()) return kErrorNoMoreItems;
    const auto& value = node->values[index];
    if (const long rc = CopyName(value.name, name, maxName); rc != kErrorSuccess) return rc;
    if (type) *type = value.type;
    return CopyValueData(value.data, data, dataSize);
}

}  // namespace platform

namespace sandbox {

RegValueEntry* RegKeyNode::FindValue(const std::string& name) {
    for (auto& value : values)
        if (base::EqualsNoCase(value.name, name)) return &value;
    return nullptr;
}

namespace {

// The test's own walk: no rights apply, and a path the real API refuses is the test's fault.
std::shared_ptr<RegKeyNode> FindKey(platform::RootKey root, const std::string& key, bool create) {
    std::vector<std::string> names;
    const auto it = TheMachine().roots.find(root);
    if (it == TheMachine().roots.end() || SplitKeyPath(key, names) != platform::kErrorSuccess)
        throw std::invalid_argument("no such registry key path: " + key);
    auto node = it->second;
    return Descend(node, names, create, nullptr) == platform::kErrorSuccess ? node : nullptr;
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

void AfterNextKeyOpen(std::function<void()> action) {
    TheMachine().afterNextKeyOpen = std::move(action);
}

}  // namespace sandbox
