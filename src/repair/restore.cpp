#include "repair/restore.h"

#include <algorithm>
#include <map>

#include "base/text.h"
#include "core/registry.h"
#include "core/shortcut.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "repair/backup.h"
#include "repair/reg_file.h"

namespace repair {
namespace {

using core::ProblemKind;

constexpr const char* kManifestEnd = ".json";

// The names of the files of the backup folder that match the pattern, folders left out.
std::vector<platform::FindData> FilesMatching(const std::string& pattern) {
    std::vector<platform::FindData> files;
    platform::FindData data;
    platform::FindHandle find;
    for (long rc = platform::FindFirst(BackupFolder() + "\\" + pattern, data, find);
         rc == platform::kErrorSuccess; rc = platform::FindNext(find, data))
        if ((data.dwFileAttributes & platform::kFileAttributeDirectory) == 0) files.push_back(data);
    return files;
}

std::string Reason(const std::string& what, long error) {
    return what + ": " + platform::ErrorDescription(error);
}

// The files a run's restore reads, each once: a run's exports hold many of its values.
class KeptFiles {
  public:
    // The file's bytes, or the reason they cannot be read.
    const std::string* Read(const std::string& path, std::string& reason) {
        if (path.empty()) {
            reason = "nothing of it was kept";
            return nullptr;
        }
        auto [entry, added] = files_.try_emplace(path);
        if (added) entry->second.error = platform::ReadWholeFile(path, entry->second.bytes);
        if (entry->second.error == platform::kErrorSuccess) return &entry->second.bytes;
        reason = Reason(path + " cannot be read", entry->second.error);
        return nullptr;
    }

  private:
    struct File {
        long error = platform::kErrorSuccess;
        std::string bytes;
    };
    std::map<std::string, File> files_;
};

Restoration Result(const Change& change, Restored result, std::string reason = {}) {
    return {change, result, std::move(reason)};
}

// A value the run deleted comes back where no value of its name is; one it re-pointed comes
// back where it still names the run's new path, or where the run renamed it to that path.
Restoration RestoreValue(const Change& change, KeptFiles& kept) {
    const core::Problem& p = change.problem;
    std::string reason;
    const std::string* exported = kept.Read(change.backupFile, reason);
    if (!exported) return Result(change, Restored::Failed, reason);
    const auto before = ExportedValue(*exported, p.root, p.keyPath, p.valueName);
    if (!before) return Result(change, Restored::Failed, change.backupFile + " does not hold it");
    std::optional<core::RegistryValue> now, renamed;
    long error = core::ReadRegistryValue(p.root, p.keyPath, p.valueName, now);
    if (error != platform::kErrorSuccess)
        return Result(change, Restored::Failed, Reason("it cannot be read", error));
    if (now && core::SameRegistryValue(*now, *before))
        return Result(change, Restored::AlreadyAsBefore);
    const std::string& newPath = change.outcome.newPath;
    const bool repointed = change.outcome.action == Action::Repointed;
    const std::string written =
        p.cure == core::Cure::PointToFolder ? newPath.substr(0, newPath.rfind('\\')) : newPath;
    if (now && !(repointed && base::FindNoCase(now->data, written) != std::string::npos))
        return Result(change, Restored::Kept, "it has changed since the repair");
    if (!now && repointed && !p.valueName.empty())
        core::ReadRegistryValue(p.root, p.keyPath, newPath, renamed);
    error = core::WriteRegistryValue(p.root, p.keyPath, p.valueName, *before);
    if (error != platform::kErrorSuccess)
        return Result(change, Restored::Failed, Reason("it cannot be written", error));
    if (renamed && core::SameRegistryValue(*renamed, *before))
        core::DeleteRegistryValue(p.root, p.keyPath, newPath);
    return Result(change, Restored::Yes);
}

// Makes the folders of the path that are missing, from the drive down.
void MakeFoldersOf(const std::string& path) {
    for (std::size_t slash = path.find('\\', path.find('\\') + 1); slash != std::string::npos;
         slash = path.find('\\', slash + 1))
        platform::MakeDirectory(path.substr(0, slash));
}

// A shortcut the run deleted comes back where no file is; one it re-pointed comes back where
// the shortcut still points to the run's new path.
Restoration RestoreShortcut(const Change& change, KeptFiles& kept) {
    const std::string& path = change.problem.file;
    std::string reason;
    const std::string* copy = kept.Read(change.backupFile, reason);
    if (!copy) return Result(change, Restored::Failed, reason);
    std::string now;
    if (platform::ReadWholeFile(path, now) == platform::kErrorSuccess) {
        if (now == *copy) return Result(change, Restored::AlreadyAsBefore);
        const auto shortcut =
            change.outcome.action == Action::Repointed ? core::ReadShortcut(path) : std::nullopt;
        if (!shortcut || !base::EqualsNoCase(shortcut->target, change.outcome.newPath))
            return Result(change, Restored::Kept, "a newer file is in its place");
    } else if (platform::GetAttributes(path) != platform::kInvalidFileAttributes) {
        return Result(change, Restored::Kept, "a newer file is in its place");
    }
    MakeFoldersOf(path);
    const long error = platform::WriteWholeFile(path, *copy);
    if (error != platform::kErrorSuccess)
        return Result(change, Restored::Failed, Reason("it cannot be written", error));
    return Result(change, Restored::Yes);
}

std::optional<RunRecord> ReadRun(const std::string& stamp) {
    std::string text;
    if (platform::ReadWholeFile(BackupFolder() + "\\" + stamp + kManifestEnd, text) !=
        platform::kErrorSuccess)
        return std::nullopt;
    return ReadManifest(stamp, text);
}

}  // namespace

std::vector<RunRecord> ListRuns() {
    std::vector<std::string> stamps;
    for (const platform::FindData& file : FilesMatching(std::string("*") + kManifestEnd))
        stamps.push_back(file.cFileName.substr(0, file.cFileName.size() - 5));
    // A stamp sorts by its time; a run's letter after it sorts it after the first one.
    std::sort(stamps.begin(), stamps.end(), std::greater<>());
    std::vector<RunRecord> runs;
    for (const std::string& stamp : stamps)
        if (auto run = ReadRun(stamp)) runs.push_back(std::move(*run));
    return runs;
}

std::optional<RunRecord> FindRun(const std::string& stamp) {
    if (stamp.empty() || stamp.find_first_of("\\/*?") != std::string::npos) return std::nullopt;
    return ReadRun(stamp);
}

std::uint64_t BackupSpace() {
    std::uint64_t bytes = 0;
    for (const platform::FindData& file : FilesMatching("*"))
        bytes += file.nFileSize;
    return bytes;
}

long RemoveRun(const std::string& stamp) {
    long result = platform::kErrorSuccess;
    std::vector<platform::FindData> files = FilesMatching(stamp + "-*");
    for (const platform::FindData& manifest : FilesMatching(stamp + kManifestEnd))
        files.push_back(manifest);
    for (const platform::FindData& file : files) {
        const long error = platform::RemoveFile(BackupFolder() + "\\" + file.cFileName);
        if (result == platform::kErrorSuccess) result = error;
    }
    return result;
}

std::vector<Restoration> RestoreRun(const RunRecord& run) {
    std::vector<Restoration> restorations;
    KeptFiles kept;
    for (const Change& change : run.changes) {
        if (!change.Changed()) continue;
        switch (change.problem.kind) {
            case ProblemKind::Registry:
                restorations.push_back(RestoreValue(change, kept));
                break;
            case ProblemKind::Shortcut:
                restorations.push_back(RestoreShortcut(change, kept));
                break;
            case ProblemKind::File:
                restorations.push_back(Result(change, Restored::NothingKept));
                break;
        }
    }
    return restorations;
}

const char* RestoredId(Restored result) {
    switch (result) {
        case Restored::Yes:
            return "restored";
        case Restored::AlreadyAsBefore:
            return "already-restored";
        case Restored::Kept:
            return "left-changed-since";
        case Restored::Failed:
            return "left-failed";
        case Restored::NothingKept:
            return "not-restorable";
    }
    return "";
}

}  // namespace repair
