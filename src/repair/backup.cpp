#include "repair/backup.h"

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
std::string Stamp() {
    platform::SystemTime now;
    platform::GetLocalTime(now);
    char stamp[32];  // room for any field values, though each has two digits
    std::snprintf(stamp, sizeof stamp, "%02d%02d%02d-%02d%02d%02d", now.wYear % 100, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    return stamp;
}

// The backup folder, made when missing, in its short form with the trailing backslash: the
// short form of an existing folder holds no blanks. When it cannot be made, the exports
// into it fail and say so.
std::string BackupFolder() {
    const std::string folder = platform::ApplicationFolder() + "\\backup";
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

}  // namespace

// All exports start before the first wait: they run side by side, and the repair starts only
// once every one has ended. A failed start stops the starting (the next would fail alike);
// the ones already started are still waited for.
std::optional<std::vector<std::string>> BackUpRegistry(const core::Problems& problems, User& user) {
    const std::string stamp = Stamp();
    std::string folder;
    std::vector<RegExport> exports;
    bool complete = true;
    int counter = 0;
    for (std::size_t position = 0; position < problems.size(); ++position) {
        const core::Problem& problem = problems[position];
        if (problem.kind != core::ProblemKind::Registry) continue;
        if (folder.empty()) folder = BackupFolder();
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
    std::vector<std::string> files(problems.size());
    for (const RegExport& entry : exports) {
        const bool finished = Finished(entry);
        if (finished) files[entry.position] = core::LongPath(entry.file);
        complete = finished && complete;
    }
    if (!complete && !user.RepairWithoutCompleteBackup()) return std::nullopt;
    return files;
}

}  // namespace repair
