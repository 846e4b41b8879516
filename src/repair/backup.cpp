#include "repair/backup.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/folders.h"
#include "core/logs.h"
#include "platform/application.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/process.h"
namespace repair {
namespace {

constexpr std::uint32_t kExportTimeLimit = 60'000;  // milliseconds, for each export
constexpr std::uint32_t kEndedByUs = 1;             // the exit code of an export we stop

// One started "REG EXPORT": what it saves where, for which problem, and its process.
struct RegExport {
    std::string key;
    std::string file;
    platform::ProcessHandle process;
    std::size_t position = 0;
};

// "yymmdd-HhNnSs": the files of one backup share it, whatever the time each one starts.
std::string StampOf(const platform::SystemTime& now) {
    char stamp[32];  // room for any field values, though each has two digits
    std::snprintf(stamp, sizeof stamp, "%02d%02d%02d-%02d%02d%02d", now.wYear % 100, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    return stamp;
}

// The backup folder, made when missing, in its short form with the trailing backslash: the
// short form of an existing folder holds no blanks. When it cannot be made, the exports
// into it fail and say so.
std::string ShortBackupFolder() {
    const std::string folder = BackupFolder();
    platform::MakeDirectory(folder);
    return core::ShortPath(folder + "\\");
}

// Both arguments quoted: a key such as "App Paths" holds a blank. /y overwrites an existing
// file instead of asking on REG's console, which nobody would answer.
std::string ExportCommand(const RegExport& entry) {
    return "REG EXPORT \"" + entry.key + "\" \"" + entry.file + "\" /y";
}

void LogFailure(const RegExport& entry, std::uint32_t number, const std::string& reason) {
    core::WriteLog("Error: Backupregistry: " + std::to_string(number) + ": " + reason +
                   " (exporting " + entry.key + " to " + entry.file + ")");
}

// Waits for one export to end; one still running after the time limit is stopped. True
// when it ended with code 0.
bool Finished(const RegExport& entry) {
    const std::uint32_t wait = platform::WaitForSingleObject(entry.process, kExportTimeLimit);
    if (wait != platform::kWaitObject0) {
        platform::TerminateProcess(entry.process, kEndedByUs);
        LogFailure(entry, wait,
                   wait == platform::kWaitTimeout
                       ? "REG EXPORT did not end within a minute and was stopped"
                       : "the wait for REG EXPORT failed, and it was stopped");
        return false;
    }
    // Our own handle fails only when it is not a process handle at all.
    std::uint32_t code = 0;
    if (!platform::GetExitCodeProcess(entry.process, code)) {
        LogFailure(entry, platform::kErrorInvalidHandle,
                   platform::ErrorDescription(platform::kErrorInvalidHandle));
        return false;
    }
    if (code != 0) LogFailure(entry, code, "REG EXPORT ended with this exit code");
    return code == 0;
}

// Whether anything in the folder matches the pattern.
bool AnyFile(const std::string& pattern) {
    platform::FindData data;
    platform::FindHandle find;
    return platform::FindFirst(pattern, data, find) == platform::kErrorSuccess;
}

void LogCopyFailure(const std::string& from, const std::string& to, long error) {
    core::WriteLog("Error: Backupshortcut: " + std::to_string(error) + ": " +
                   platform::ErrorDescription(error) + " (copying " + from + " to " + to + ")");
}

// Copies the file; false after logging why not.
bool CopyWholeFile(const std::string& from, const std::string& to) {
    std::string bytes;
    long error = platform::ReadWholeFile(from, bytes);
    if (error == platform::kErrorSuccess) error = platform::WriteWholeFile(to, bytes);
    if (error != platform::kErrorSuccess) LogCopyFailure(from, to, error);
    return error == platform::kErrorSuccess;
}

// All exports start before the first wait: they run side by side, and the repair starts only
// once every one has ended. A failed start stops the starting (the next would fail alike);
// the ones already started are still waited for.
bool ExportKeys(const core::Problems& problems, const std::string& stamp,
                std::vector<std::string>& files) {
    std::string folder;
    std::vector<RegExport> exports;
    bool complete = true;
    int counter = 0;
    for (std::size_t position = 0; position < problems.size(); ++position) {
        const core::Problem& problem = problems[position];
        if (problem.kind != core::ProblemKind::Registry) continue;
        if (folder.empty()) folder = ShortBackupFolder();
        RegExport entry{std::string(platform::RootKeyName(problem.root)) + "\\" + problem.keyPath,
                        folder + stamp + "-" + std::to_string(++counter) + ".reg",
                        {},
                        position};
        if (const long error = platform::StartProcess(ExportCommand(entry), entry.process);
            error != platform::kErrorSuccess) {
            LogFailure(entry, static_cast<std::uint32_t>(error), platform::ErrorDescription(error));
            complete = false;
            break;
        }
        exports.push_back(std::move(entry));
    }
    for (const RegExport& entry : exports) {
        const bool finished = Finished(entry);
        if (finished) files[entry.position] = core::LongPath(entry.file);
        complete = finished && complete;
    }
    return complete;
}

}  // namespace

std::string BackupFolder() {
    return platform::ApplicationFolder() + "\\backup";
}

RunBackup::RunBackup(Method method) : folder_(BackupFolder() + "\\") {
    platform::SystemTime now;
    platform::GetLocalTime(now);
    record_.time = IsoTime(now);
    record_.method = method;
    const std::string stamp = StampOf(now);
    record_.stamp = stamp;
    for (char letter = 'b'; letter <= 'z' && (AnyFile(folder_ + record_.stamp + ".json") ||
                                              AnyFile(folder_ + record_.stamp + "-*"));
         ++letter)
        record_.stamp = stamp + letter;
}

bool RunBackup::Take(const core::Problems& problems, const std::vector<std::size_t>& positions,
                     bool exportRegistry, User& user) {
    files_.assign(problems.size(), "");
    bool complete = !exportRegistry || ExportKeys(problems, record_.stamp, files_);
    int counter = 0;
    for (const std::size_t position : positions) {
        const core::Problem& problem = problems[position];
        if (problem.kind != core::ProblemKind::Shortcut) continue;
        platform::MakeDirectory(BackupFolder());
        const std::string copy = folder_ + record_.stamp + "-" + std::to_string(++counter) + ".lnk";
        if (CopyWholeFile(problem.file, copy))
            files_[position] = copy;
        else
            complete = false;
    }
    return complete || user.RepairWithoutCompleteBackup();
}

const std::string& RunBackup::FileOf(std::size_t position) const {
    static const std::string none;
    return position < files_.size() ? files_[position] : none;
}

void RunBackup::Record(std::size_t position, const core::Problem& problem, const Outcome& outcome) {
    record_.changes.push_back({problem, outcome, FileOf(position)});
}

long RunBackup::Save() const {
    if (std::none_of(record_.changes.begin(), record_.changes.end(),
                     [](const Change& change) { return change.Changed(); }))
        return platform::kErrorSuccess;
    return platform::WriteWholeFile(folder_ + record_.stamp + ".json", ManifestText(record_));
}

}  // namespace repair
