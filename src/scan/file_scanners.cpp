// The two folder walks of a scan: shortcuts whose target is gone, and old temporary files.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/translate.h"
#include "model/item.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/text.h"
#include "scan/progress_window.h"
#include "scan/scanners.h"
#include "scan/shortcut.h"

namespace {

using platform::FindData;
using platform::SystemTime;

// Lists `folder` once, in the file system's order, handing every file to `onFile` and
// collecting the subfolders, which the caller enters only after the listing is done. A
// folder that cannot be listed and an entry whose attributes cannot be read are passed
// over. False when bScanRunning was cleared during the listing: the subfolders collected
// so far are then left alone.
template <typename OnFile>
bool ListFolder(const std::string& folder, std::vector<std::string>& subfolders, OnFile&& onFile) {
    FindData entry;
    platform::FindHandle listing;
    for (long result = platform::FindFirst(folder + "\\*.*", entry, listing);
         result == platform::kErrorSuccess; result = platform::FindNext(listing, entry)) {
        if (!bScanRunning) return false;
        if (entry.cFileName == "." || entry.cFileName == "..") continue;
        // A link to a file is passed over too: its date tells of its target, wherever that is.
        if (entry.dwFileAttributes == platform::kInvalidFileAttributes ||
            platform::IsReparsePoint(entry))
            continue;
        std::string path = folder + "\\" + entry.cFileName;
        if (entry.dwFileAttributes & platform::kFileAttributeDirectory)
            subfolders.push_back(std::move(path));
        else
            onFile(path, entry);
    }
    return true;
}

// Shortcut files are known by their extension, in any letter case.
bool IsShortcutFile(const std::string& path) {
    return path.size() >= 4 && platform::EqualsNoCase(path.substr(path.size() - 4), ".lnk");
}

// A path on a drive letter whose root is not there (a removed stick, an unmapped network
// drive, an empty CD drive): nothing can be said about its files.
bool IsOnAbsentDrive(const std::string& path) {
    if (path.size() < 2 || path[1] != ':') return false;
    return platform::GetAttributes(path.substr(0, 2) + "\\") == platform::kInvalidFileAttributes;
}

// `scanning` is the translated progress text, looked up once for the whole walk.
void WalkShortcuts(const std::string& folder, const std::string& scanning) {
    if (!bScanRunning) return;
    std::vector<std::string> subfolders;
    const bool listed =
        ListFolder(folder, subfolders, [&](const std::string& path, const FindData&) {
            if (!IsShortcutFile(path)) return;
            ShowProgress(scanning + " " + path);
            CheckShortcut(path);
        });
    if (!listed) return;
    for (const std::string& subfolder : subfolders)
        WalkShortcuts(subfolder, scanning);
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

struct TempFileTexts {
    std::string scanning = Translate("progress_scanning_file", "Scanning file");
    std::string oldFile = Translate("description_oldfile", "File in temporary folder, last used");
};

void RecordOldFile(const std::string& path, const SystemTime& written, const TempFileTexts& texts) {
    auto item = std::make_shared<clsItem>();
    item->pType(kTypeFile);
    item->pSTATUS = kStatusUnusedFile;
    item->pName(path);
    item->pDescription = texts.oldFile + " " + GeneralDateText(written);
    item->pCureMissingfile = "";
    item->pCureFilename = path;
    item->pCureMethod = 0;
    AddItem(item);
}

void WalkTempFiles(const std::string& folder, const TempFileTexts& texts) {
    if (!bScanRunning) return;
    SystemTime today;
    platform::GetLocalTime(today);
    const long todayNumber = DayNumber(today);
    std::vector<std::string> subfolders;
    const bool listed =
        ListFolder(folder, subfolders, [&](const std::string& path, const FindData& entry) {
            ShowProgress(texts.scanning + " " + path);
            // A date that does not convert is one that cannot be read: the file is passed over.
            SystemTime written;
            if (platform::FileTimeToLocalSystemTime(entry.ftLastWriteTime, written) &&
                !(entry.dwFileAttributes & platform::kFileAttributeSystem) &&
                todayNumber - DayNumber(written) > kAgeLimitDays)
                RecordOldFile(path, written, texts);
            LetPendingEventsRun();
        });
    if (!listed) return;
    for (const std::string& subfolder : subfolders)
        WalkTempFiles(subfolder, texts);
}

}  // namespace

void ScanShortcuts(const std::string& folder) {
    // An empty folder would make the pattern "\*.*", the root of the current drive.
    if (!bScanRunning || folder.empty()) return;
    WalkShortcuts(folder, Translate("progress_scanning_shortcut", "Scanning shortcut"));
}

void CheckShortcut(const std::string& linkPath) {
    std::string target, description, arguments, iconPath, workingDirectory;
    std::uint16_t hotkey = 0;
    long iconIndex = 0, showCommand = 0;
    if (GetShortcutInfo(linkPath, target, description, arguments, hotkey, iconPath, iconIndex,
                        workingDirectory, showCommand) != 0)
        return;
    // A shortcut to no file (a shell folder, a URL) is never broken.
    if (target.empty() || FileExists(target) || IsOnAbsentDrive(target)) return;
    auto item = std::make_shared<clsItem>();
    item->pType(kTypeShortcut);
    item->pSTATUS = kStatusBrokenLink;
    item->pName(linkPath);
    item->pDescription = Translate("description_wronglink", "Links to nonexisting file") + " " +
                         (arguments.empty() ? target : target + " " + arguments);
    item->pCureMissingfile = target;
    item->pCureFilename = linkPath;
    item->pCureMethod = 0;
    AddItem(item);
}

void ScanTempFiles(std::string& folder) {
    if (!bScanRunning) return;
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    // Scanning nothing for an empty folder (or a bare "\"): never the root of the drive.
    if (folder.empty()) return;
    WalkTempFiles(folder, TempFileTexts());
}
