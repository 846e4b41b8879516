// The registry scanners: walk the listed keys and values and record every entry whose file
// is missing.
#include <array>
#include <cctype>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/registry_access.h"
#include "core/text.h"
#include "core/translate.h"
#include "model/item.h"
#include "platform/errors.h"
#include "scan/command_line.h"
#include "scan/progress_window.h"
#include "scan/scanners.h"
#include "scan/shortcut.h"
#include "ui/interaction.h"

namespace {

using platform::RegKey;
using platform::RootKey;

// Subkey and value names, in UTF-16 characters with their NUL.
constexpr std::uint32_t kNameBufferSize = 255;
// ReadRegistryValue reads at most this many bytes; a larger value reads as empty.
constexpr std::uint32_t kReadLimit = 1024;
// One byte more than the read limit, so that a value just over it is told from one that fits.
constexpr std::uint32_t kDataBufferSize = kReadLimit + 1;

bool Opened(RootKey root, const std::string& keyPath, RegKey& key) {
    return platform::OpenKey(root, keyPath, 0, platform::kKeyAllAccess, key) ==
           platform::kErrorSuccess;
}

// The text ReadRegistryValue gives for these stored bytes: empty over the read limit or for
// no bytes at all; a terminating NUL that is really there is dropped.
std::string ValueText(const char* data, std::uint32_t size) {
    if (size == 0 || size > kReadLimit) return {};
    if (data[size - 1] == '\0') --size;
    return std::string(data, size);
}

// The decision of CheckRegistryPath, with what stays the same for a whole list kept from one
// entry to the next: the translated description and which drives are there.
class PathCheck {
  public:
    void Check(const std::string& registryText, const std::string& location, long status,
               RootKey root, const std::string& keyPath, const std::string& valueName,
               long cureMethod) {
        if (registryText.empty()) return;
        const std::string path = GetPathFromCommandLine(registryText);
        if (path.size() < 2 || path[1] != ':') return;
        if (FileExists(path)) return;
        // A missing drive (an unplugged disk, an unmapped share) says nothing about the file:
        // reporting it would have the repair delete a working entry.
        if (!DriveIsThere(path[0])) return;
        if (PrefixExists(path)) return;

        auto item = std::make_shared<clsItem>();
        item->pType(kTypeRegistry);
        item->pSTATUS = status;
        item->pName(location);
        item->pKey(valueName);
        item->pDescription = Description() + " " + path;
        item->pCureKeyRoot = root;
        item->pCureKeyName = keyPath;
        item->pCureKeyValueName = valueName;
        item->pCureMissingfile = path;
        item->pCureMethod = cureMethod;
        AddItem(item);
    }

  private:
    // Whether the text before some blank, trimmed, names an existing file: the program part
    // of an unquoted command line with arguments.
    static bool PrefixExists(const std::string& path) {
        std::string t = path;
        bool exists = false;
        for (size_t blank; !exists && (blank = t.rfind(' ')) != std::string::npos;) {
            t = Trim(t.substr(0, blank));
            exists = !t.empty() && FileExists(t);
        }
        return exists;
    }

    bool DriveIsThere(char letter) {
        const auto index =
            static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(letter)));
        auto& known = drives_[index];
        if (!known) known = FileExists(std::string{letter, ':', '\\'});
        return *known;
    }

    const std::string& Description() {
        if (!description_)
            description_ = Translate("description_wronglink", "Links to nonexisting file");
        return *description_;
    }

    std::optional<std::string> description_;
    std::array<std::optional<bool>, 256> drives_;
};

// The line shown for every entry looked at.
std::string ProgressPrefix() {
    return Translate("progress_scanning_registry", "Scanning registry key") + " ";
}

// A name that does not fit its buffer skips that one entry; any other failure, the end of the
// list included, ends the enumeration.
bool SkipsOnlyThisEntry(long rc) {
    return rc == platform::kErrorMoreData;
}

// The text ReadRegistryValue gives for the value `name` of an open key.
std::string ReadValueText(const RegKey& key, const std::string& name) {
    char data[kDataBufferSize];
    std::uint32_t size = kDataBufferSize;
    if (platform::QueryValue(key, name, nullptr, data, &size) != platform::kErrorSuccess) return {};
    return ValueText(data, size);
}

// Every subkey is opened once, below its parent: for reading its value and again, kept open,
// for its own subkeys, which are walked after all of its siblings have been checked.
class SubkeyScan {
  public:
    SubkeyScan(RootKey root, bool recursive, const std::string& valueName, long status)
        : root_(root),
          rootName_(GetRootKeyName(root)),
          recursive_(recursive),
          valueName_(valueName),
          status_(status),
          progress_(ProgressPrefix()) {}

    void Scan(const std::string& keyPath) {
        RegKey key;
        if (Opened(root_, keyPath, key)) Scan(keyPath, std::move(key));
    }

  private:
    struct Subkey {
        std::string path;
        RegKey key;  // not open when it refused full access
    };

    void Scan(const std::string& keyPath, RegKey key) {
        if (!bScanRunning) return;
        std::vector<Subkey> children;
        for (std::uint32_t index = 0;; ++index) {
            if (!bScanRunning) return;
            std::string subkeyName;
            const long rc = platform::EnumKey(key, index, subkeyName, kNameBufferSize);
            if (rc == platform::kErrorSuccess) {
                children.push_back({keyPath + "\\" + subkeyName, RegKey()});
                Subkey& child = children.back();
                ShowProgress(progress_ + child.path);
                platform::OpenKey(key, subkeyName, 0, platform::kKeyAllAccess, child.key);
                check_.Check(child.key.IsOpen() ? ReadValueText(child.key, valueName_) : "",
                             rootName_ + "\\" + child.path, status_, root_, child.path, valueName_,
                             0);
            }
            LetPendingEventsRun();
            if (rc != platform::kErrorSuccess && !SkipsOnlyThisEntry(rc)) break;
        }
        key.Reset();
        if (!recursive_) return;
        for (Subkey& child : children)
            if (child.key.IsOpen()) Scan(child.path, std::move(child.key));
    }

    const RootKey root_;
    const std::string rootName_;
    const bool recursive_;
    const std::string valueName_;
    const long status_;
    const std::string progress_;
    PathCheck check_;
};

// Where a value list keeps the path of an entry.
enum class PathIn { Data, Name, HelpFolderAndName };

// One enumerated value: its name and the text that ReadRegistryValue would give for it.
struct ValueEntry {
    std::string name;
    std::string text;
};

// The value at `index`. Its data comes with the enumeration when it is within the read limit;
// a larger value still yields its name (and reads as empty).
long EnumerateValue(const RegKey& key, std::uint32_t index, ValueEntry& entry) {
    char data[kDataBufferSize];
    std::uint32_t dataSize = kDataBufferSize;
    long rc =
        platform::EnumValue(key, index, entry.name, kNameBufferSize, nullptr, data, &dataSize);
    if (rc == platform::kErrorMoreData) {
        // The name or the data did not fit; asked without the data, only the name counts.
        dataSize = 0;
        rc =
            platform::EnumValue(key, index, entry.name, kNameBufferSize, nullptr, nullptr, nullptr);
    }
    if (rc != platform::kErrorSuccess) return rc;
    entry.text = ValueText(data, dataSize);
    return rc;
}

void ScanValueList(RootKey root, const std::string& keyPath, PathIn pathIn) {
    RegKey key;
    if (!Opened(root, keyPath, key) || !bScanRunning) return;
    const std::string progress = ProgressPrefix();
    const std::string keyLocation = GetRootKeyName(root) + "\\" + keyPath;
    const long status = pathIn == PathIn::HelpFolderAndName ? kStatusWrongHelp : kStatusBrokenLink;
    const long cureMethod = pathIn == PathIn::HelpFolderAndName ? 1 : 0;
    PathCheck check;
    ValueEntry entry;
    for (std::uint32_t index = 0;; ++index) {
        if (!bScanRunning) return;
        const long rc = EnumerateValue(key, index, entry);
        if (rc == platform::kErrorSuccess) {
            if (pathIn == PathIn::Name) {
                ShowProgress(progress + keyLocation + ": " + entry.name);
                check.Check(entry.name, keyLocation, status, root, keyPath, entry.name, cureMethod);
            } else {
                const std::string location = keyLocation + "\\" + entry.name;
                const std::string text =
                    pathIn == PathIn::Data ? entry.text : entry.text + "\\" + entry.name;
                ShowProgress(progress + location);
                check.Check(text, location, status, root, keyPath, entry.name, cureMethod);
            }
        }
        LetPendingEventsRun();
        if (rc != platform::kErrorSuccess && !SkipsOnlyThisEntry(rc)) break;
    }
}

}  // namespace

void CheckRegistryPath(const std::string& registryText, const std::string& location, long status,
                       RootKey root, const std::string& keyPath, const std::string& valueName,
                       long cureMethod) {
    PathCheck().Check(registryText, location, status, root, keyPath, valueName, cureMethod);
}

void ScanRegistrySubkeys(RootKey root, const std::string& key, bool recursive,
                         const std::string& valueName, long status) {
    SubkeyScan(root, recursive, valueName, status).Scan(key);
}

void ScanRegistryValues(RootKey root, const std::string& key, bool pathInData) {
    ScanValueList(root, key, pathInData ? PathIn::Data : PathIn::Name);
}

void ScanHelpFiles(RootKey root, const std::string& key) {
    ScanValueList(root, key, PathIn::HelpFolderAndName);
}
