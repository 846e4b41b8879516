// The registry scanners: walk the listed keys and values and record every entry whose file
// is missing.
#include <array>
#include <cctype>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "core/command_line.h"
#include "core/shortcut.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "scan/scanners.h"

namespace scan {
namespace {

using core::Category;
using core::Cure;

using platform::RegKey;
using platform::RootKey;

// Subkey and value names, in UTF-16 characters with their NUL.
constexpr std::uint32_t kNameBufferSize = 255;
// ReadRegistryText reads at most this many bytes; a larger value reads as empty.
constexpr std::uint32_t kReadLimit = 1024;
// One byte more than the read limit, so that a value just over it is told from one that fits.
constexpr std::uint32_t kDataBufferSize = kReadLimit + 1;

bool Opened(RootKey root, const std::string& keyPath, RegKey& key) {
    return platform::OpenKey(root, keyPath, 0, platform::kKeyAllAccess, key) ==
           platform::kErrorSuccess;
}

// The text ReadRegistryText gives for these stored bytes: empty over the read limit or for
// no bytes at all; a terminating NUL that is really there is dropped.
std::string ValueText(const char* data, std::uint32_t size) {
    if (size == 0 || size > kReadLimit) return {};
    if (data[size - 1] == '\0') --size;
    return std::string(data, size);
}

// Where an entry stands: what the list shows, and the value a repair works on.
struct EntryPlace {
    std::string location;
    const std::string& keyPath;
    const std::string& valueName;
};

// Whether an entry's text names a missing file, and the problem it records then. What stays
// the same for a whole list is kept from one entry to the next: the list, the translated
// description and which drives are there.
class PathCheck {
  public:
    PathCheck(const RegistryList& list, Scope& scope)
        : list_(list),
          scope_(scope),
          of32BitPrograms_(list.view == core::RegistryView::Of32BitPrograms),
          folders_(of32BitPrograms_ ? scope.folders.SeenBy32BitPrograms() : scope.folders) {}

    // Only paths that begin with a drive letter are tested; an unquoted command line passes
    // when a prefix of it cut at a blank exists; a path on a drive that is not there cannot
    // be verified and passes too. An entry of the 32-bit programs' view is read as they read
    // it: their %ProgramFiles%, and their own system folder besides System32.
    void Check(const std::string& registryText, const EntryPlace& place) {
        if (registryText.empty()) return;
        const std::string path = core::PathFromCommandLine(registryText, folders_);
        if (path.size() < 2 || path[1] != ':') return;
        if (Exists(path)) return;
        // A missing drive (an unplugged disk, an unmapped share) says nothing about the file:
        // reporting it would have the repair delete a working entry.
        if (!DriveIsThere(path[0])) return;
        if (PrefixExists(path)) return;

        core::Problem problem;
        problem.kind = core::ProblemKind::Registry;
        problem.category = list_.category;
        problem.location = place.location;
        problem.description = Description() + " " + path;
        problem.root = list_.root;
        problem.keyPath = place.keyPath;
        problem.valueName = place.valueName;
        problem.missingFile = path;
        problem.cure =
            list_.pathIn == PathIn::HelpFolderAndName ? Cure::PointToFolder : Cure::PointToFile;
        problem.view = list_.view;
        scope_.problems.push_back(std::move(problem));
    }

  private:
    // Whether the text before some blank, trimmed, names an existing file: the program part
    // of an unquoted command line with arguments. A folder is no program: "C:\\Program Files"
    // explains nothing of "C:\\Program Files (x86)\\Gone\\app.exe".
    bool PrefixExists(const std::string& path) const {
        std::string t = path;
        bool exists = false;
        for (size_t blank; !exists && (blank = t.rfind(' ')) != std::string::npos;) {
            t = base::Trim(t.substr(0, blank));
            exists = !t.empty() && !IsFolder(t) && Exists(t);
        }
        return exists;
    }

    static bool IsFolder(const std::string& path) {
        const std::uint32_t attributes = platform::GetAttributes(path);
        return attributes != platform::kInvalidFileAttributes &&
               (attributes & platform::kFileAttributeDirectory);
    }

    bool Exists(const std::string& path) const {
        return of32BitPrograms_ ? core::ExistsFor32BitPrograms(path, folders_)
                                : core::FileExists(path);
    }

    bool DriveIsThere(char letter) {
        const auto index =
            static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(letter)));
        auto& known = drives_[index];
        if (!known) known = core::FileExists(std::string{letter, ':', '\\'});
        return *known;
    }

    const std::string& Description() {
        if (!description_)
            description_ =
                scope_.language.Text("description_wronglink", "Links to nonexisting file");
        return *description_;
    }

    const RegistryList& list_;
    Scope& scope_;
    const bool of32BitPrograms_;
    const core::Folders folders_;
    std::optional<std::string> description_;
    std::array<std::optional<bool>, 256> drives_;
};

// The line shown for every entry looked at.
std::string ProgressPrefix(const Scope& scope) {
    return scope.language.Text("progress_scanning_registry", "Scanning registry key") + " ";
}

// A name that does not fit its buffer skips that one entry; any other failure, the end of the
// list included, ends the enumeration.
bool SkipsOnlyThisEntry(long rc) {
    return rc == platform::kErrorMoreData;
}

// The text ReadRegistryText gives for the value `name` of an open key.
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
    SubkeyScan(const RegistryList& list, Scope& scope)
        : list_(list),
          scope_(scope),
          rootName_(platform::RootKeyName(list.root)),
          valueName_(list.valueName),
          progress_(ProgressPrefix(scope)),
          check_(list, scope) {}

    void Scan() {
        RegKey key;
        if (Opened(list_.root, list_.key, key)) Scan(list_.key, std::move(key));
    }

  private:
    struct Subkey {
        std::string path;
        RegKey key;  // not open when it refused full access
    };

    void Scan(const std::string& keyPath, RegKey key) {
        if (!scope_.progress.Continue()) return;
        std::vector<Subkey> children;
        for (std::uint32_t index = 0;; ++index) {
            if (!scope_.progress.Continue()) return;
            std::string subkeyName;
            const long rc = platform::EnumKey(key, index, subkeyName, kNameBufferSize);
            if (rc == platform::kErrorSuccess) {
                children.push_back({keyPath + "\\" + subkeyName, RegKey()});
                Subkey& child = children.back();
                scope_.progress.Looking(progress_ + child.path);
                platform::OpenKey(key, subkeyName, 0, platform::kKeyAllAccess, child.key);
                check_.Check(child.key.is_valid() ? ReadValueText(child.key, valueName_) : "",
                             {rootName_ + "\\" + child.path, child.path, valueName_});
            }
            scope_.progress.KeepResponsive();
            if (rc != platform::kErrorSuccess && !SkipsOnlyThisEntry(rc)) break;
        }
        key.reset();
        for (Subkey& child : children)
            if (child.key.is_valid()) Scan(child.path, std::move(child.key));
    }

    const RegistryList& list_;
    Scope& scope_;
    const std::string rootName_;
    const std::string valueName_;
    const std::string progress_;
    PathCheck check_;
};

// One enumerated value: its name and the text that ReadRegistryText would give for it.
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

void ScanValueList(const RegistryList& list, Scope& scope) {
    RegKey key;
    if (!Opened(list.root, list.key, key) || !scope.progress.Continue()) return;
    const std::string progress = ProgressPrefix(scope);
    const std::string keyPath = list.key;
    const std::string keyLocation = std::string(platform::RootKeyName(list.root)) + "\\" + keyPath;
    PathCheck check(list, scope);
    ValueEntry entry;
    for (std::uint32_t index = 0;; ++index) {
        if (!scope.progress.Continue()) return;
        const long rc = EnumerateValue(key, index, entry);
        if (rc == platform::kErrorSuccess) {
            if (list.pathIn == PathIn::ValueName) {
                scope.progress.Looking(progress + keyLocation + ": " + entry.name);
                check.Check(entry.name, {keyLocation, keyPath, entry.name});
            } else {
                const std::string location = keyLocation + "\\" + entry.name;
                const std::string text =
                    list.pathIn == PathIn::ValueData ? entry.text : entry.text + "\\" + entry.name;
                scope.progress.Looking(progress + location);
                check.Check(text, {location, keyPath, entry.name});
            }
        }
        scope.progress.KeepResponsive();
        if (rc != platform::kErrorSuccess && !SkipsOnlyThisEntry(rc)) break;
    }
}

}  // namespace

void ScanRegistryList(const RegistryList& list, Scope& scope) {
    if (list.pathIn == PathIn::SubkeyValue)
        SubkeyScan(list, scope).Scan();
    else
        ScanValueList(list, scope);
}

}  // namespace scan
