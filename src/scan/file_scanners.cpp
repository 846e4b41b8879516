// The two folder walks of a scan: shortcuts whose target is gone, and old temporary files.
#include <string>

#include "base/text.h"
#include "core/folder_walk.h"
#include "core/shortcut.h"
#include "platform/clock.h"
#include "platform/filesystem.h"
#include "scan/scanners.h"

namespace scan {
namespace {

using core::Problem;
using core::ProblemKind;
using platform::FindData;
using platform::SystemTime;

// Hands every file of the folder's tree to `onFile(path, entry)`. Entries whose attributes
// cannot be read are passed over, and so is a link to a file: its date tells of its target,
// wherever that is. False when the scope's progress stopped the walk.
template <typename OnFile>
bool WalkFiles(const std::string& folder, Scope& scope, OnFile&& onFile) {
    return core::WalkTree(
        folder, [](const std::string&) {},
        [&](const std::string& path, const FindData& entry) {
            if (!scope.progress.Continue()) return false;
            if (entry.dwFileAttributes == platform::kInvalidFileAttributes ||
                platform::IsReparsePoint(entry) ||
                (entry.dwFileAttributes & platform::kFileAttributeDirectory))
                return true;
            onFile(path, entry);
            return true;
        });
}

// Shortcut files are known by their extension, in any letter case.
bool IsShortcutFile(const std::string& path) {
    return path.size() >= 4 && base::EqualsNoCase(path.substr(path.size() - 4), ".lnk");
}

// A path on a drive letter whose root is not there (a removed stick, an unmapped network
// drive, an empty CD drive): nothing can be said about its files.
bool IsOnAbsentDrive(const std::string& path) {
    if (path.size() < 2 || path[1] != ':') return false;
    return platform::GetAttributes(path.substr(0, 2) + "\\") == platform::kInvalidFileAttributes;
}

// The age measure of temporary files: a month weighs 12 days, whatever its length.
long DayNumber(const SystemTime& date) {
    return 365L * date.wYear + 12L * date.wMonth + date.wDay;
}
constexpr long kAgeLimitDays = 365;

// The general date form: the short date, and the time of day unless it is midnight.
std::string GeneralDateText(const SystemTime& time) {
    std::string text = platform::ShortDateText(time);
    if (time.wHour != 0 || time.wMinute != 0 || time.wSecond != 0)
        text.append(" ").append(platform::TimeText(time));
    return text;
}

}  // namespace

void ScanShortcuts(const std::string& folder, Scope& scope) {
    // An empty folder would make the pattern "\*.*", the root of the current drive.
    if (!scope.progress.Continue() || folder.empty()) return;
    const std::string scanning =
        scope.language.Text("progress_scanning_shortcut", "Scanning shortcut") + " ";
    WalkFiles(folder, scope, [&](const std::string& path, const FindData&) {
        if (!IsShortcutFile(path)) return;
        scope.progress.Looking(scanning + path);
        CheckShortcut(path, scope);
    });
}

void CheckShortcut(const std::string& linkPath, Scope& scope) {
    const auto shortcut = core::ReadShortcut(linkPath);
    if (!shortcut) return;
    const std::string& target = shortcut->target;
    // A shortcut to no file (a shell folder, a URL) is never broken.
    if (target.empty() || core::FileExists(target) || IsOnAbsentDrive(target)) return;
    Problem problem;
    problem.kind = ProblemKind::Shortcut;
    problem.category = core::Category::BrokenLink;
    problem.location = linkPath;
    problem.description =
        scope.language.Text("description_wronglink", "Links to nonexisting file") + " " +
        (shortcut->arguments.empty() ? target : target + " " + shortcut->arguments);
    problem.missingFile = target;
    problem.file = linkPath;
    scope.problems.push_back(std::move(problem));
}

void ScanTempFiles(std::string folder, Scope& scope) {
    if (!scope.progress.Continue()) return;
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    // Scanning nothing for an empty folder (or a bare "\"): never the root of the drive.
    if (folder.empty()) return;
    const std::string scanning =
        scope.language.Text("progress_scanning_file", "Scanning file") + " ";
    const std::string oldFile =
        scope.language.Text("description_oldfile", "File in temporary folder, last used") + " ";
    SystemTime today;
    platform::GetLocalTime(today);
    const long todayNumber = DayNumber(today);
    WalkFiles(folder, scope, [&](const std::string& path, const FindData& entry) {
        scope.progress.Looking(scanning + path);
        // A date that does not convert is one that cannot be read: the file is passed over.
        SystemTime written;
        if (platform::FileTimeToLocalSystemTime(entry.ftLastWriteTime, written) &&
            !(entry.dwFileAttributes & platform::kFileAttributeSystem) &&
            todayNumber - DayNumber(written) > kAgeLimitDays) {
            Problem problem;
            problem.kind = ProblemKind::File;
            problem.category = core::Category::UnusedFile;
            problem.location = path;
            problem.description = oldFile + GeneralDateText(written);
            problem.file = path;
            scope.problems.push_back(std::move(problem));
        }
        scope.progress.KeepResponsive();
    });
}

}  // namespace scan
