// The sandbox machine's state, shared by the sandbox backend's sources.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/registry.h"

namespace sandbox {

// Windows names compare without regard to case.
std::string Lower(std::string text);
struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const {
        return Lower(a) < Lower(b);
    }
};

struct RegValueEntry {
    std::string name;
    std::uint32_t type = 0;
    std::string data;
};

struct RegKeyNode {
    std::map<std::string, std::shared_ptr<RegKeyNode>, NoCaseLess> subkeys;
    std::vector<RegValueEntry> values;  // in insertion order
    bool readOnly = false;              // refuses every access beyond reading
    long failChanges = 0;               // result code of every value write and delete
    bool deleted = false;

    RegValueEntry* FindValue(const std::string& name);
};

struct OpenKey {
    std::shared_ptr<RegKeyNode> node;
    std::uint32_t access = 0;
    std::string path;  // as opened, for the journal
};

struct Machine {
    std::filesystem::path hostRoot;
    std::set<std::string> denyWriteFolders;  // lower-case Windows paths
    std::string appFolder = "C:\\Purgelint";
    std::string arguments;
    std::string tempPath;
    std::string windowsDirectory;
    std::map<int, std::string> specialFolders;
    platform::SystemTime now;
    std::string shortDatePicture = "M/d/yyyy";

    std::map<platform::RootKey, std::shared_ptr<RegKeyNode>> roots;
    std::map<std::uintptr_t, OpenKey> openKeys;
    std::uintptr_t nextHandle = 0x100;

    std::vector<std::string> journal;  // every change, in order
};

Machine& TheMachine();

// Windows path helpers of the sandbox file system.
std::vector<std::string> SplitPath(const std::string& windowsPath);
bool IsWriteDenied(const std::string& windowsPath);

}  // namespace sandbox
