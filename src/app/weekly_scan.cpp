#include "app/weekly_scan.h"

#include <cstdint>

#include "base/product.h"
#include "base/text.h"
#include "core/logs.h"
#include "core/registry.h"
#include "core/settings.h"
#include "platform/application.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/folders.h"
#include "platform/process.h"

namespace app {
namespace {

constexpr const char* kRunValue = "ro_zuvaviv";
constexpr const char* kTaskName = "Tallowquince Purgelint weekly scan";
constexpr std::uint32_t kSchtasksTimeLimit = 60'000;  // milliseconds

std::string XmlText(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

// The log-on task of the user who runs the program, with the highest rights the user has: the
// Run list does not start a program that asks for elevation, so an administrator's weekly scan
// would never run from there. As schtasks reads it: UTF-16 with its byte-order mark.
std::string LogonTaskXml() {
    const std::string user = XmlText(platform::ExpandEnvironment("%USERDOMAIN%\\%USERNAME%"));
    const std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
        "<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">"
        "<Triggers><LogonTrigger><UserId>" +
        user +
        "</UserId></LogonTrigger></Triggers>"
        "<Principals><Principal id=\"Author\"><UserId>" +
        user +
        "</UserId>"
        "<LogonType>InteractiveToken</LogonType><RunLevel>HighestAvailable</RunLevel>"
        "</Principal></Principals>"
        "<Settings><MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>"
        "<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>"
        "<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>"
        "<ExecutionTimeLimit>PT0S</ExecutionTimeLimit></Settings>"
        "<Actions Context=\"Author\"><Exec><Command>" +
        XmlText(platform::ApplicationFolder() + "\\" + platform::ExecutableBaseName() + ".exe") +
        "</Command><Arguments>/SCHEDULED</Arguments></Exec></Actions></Task>\r\n";
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : base::Utf16FromUtf8<std::u16string>(xml)) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

// Runs "schtasks <arguments>" and waits for it; a failure is logged.
void RunSchtasks(const std::string& arguments) {
    const std::string command = "schtasks " + arguments;
    platform::ProcessHandle process;
    long error = platform::StartProcess(command, process, platform::ProcessWindow::None);
    std::uint32_t code = 0;
    if (error == platform::kErrorSuccess) {
        if (platform::WaitForSingleObject(process, kSchtasksTimeLimit) != platform::kWaitObject0)
            platform::TerminateProcess(process, 1);
        if (!platform::GetExitCodeProcess(process, code) || code != 0) error = -1;
    }
    if (error != platform::kErrorSuccess)
        core::WriteLog("Error: " + command + ": " +
                       (error > 0 ? platform::ErrorDescription(error)
                                  : "ended with exit code " + std::to_string(code)));
}

// An administrator's weekly scan is the log-on task as well: it starts with the rights the
// Run list cannot give.
void ApplyLogonTask(bool weeklyScan) {
    if (!platform::ProcessIsElevated()) return;
    const std::string quotedName = std::string("/TN \"") + kTaskName + "\"";
    if (!weeklyScan) {
        RunSchtasks("/Delete " + quotedName + " /F");
        return;
    }
    const std::string file = platform::TempPath() + "purgelint-task.xml";
    if (const long error = platform::WriteWholeFile(file, LogonTaskXml());
        error != platform::kErrorSuccess) {
        core::WriteLog("Error: writing " + file + ": " + platform::ErrorDescription(error));
        return;
    }
    RunSchtasks("/Create " + quotedName + " /XML \"" + file + "\" /F");
    platform::RemoveFile(file);
}

}  // namespace

// The setting only drives the box; the start-up entry is what makes the weekly scans happen.
void ApplyWeeklyScan(bool weeklyScan) {
    core::WriteSettingBool("runautomatically", weeklyScan);
    if (weeklyScan)
        core::WriteRegistryText(platform::kHkeyLocalMachine, base::kRunKeyPath, kRunValue,
                                ScheduledRunCommand());
    else
        core::DeleteRegistryValue(platform::kHkeyLocalMachine, base::kRunKeyPath, kRunValue);
    ApplyLogonTask(weeklyScan);
}

// Quoted: Windows would take the first blank of an unquoted path in a start-up entry as the
// end of the program's name, and start C:\Program.exe for a program under C:\Program Files.
std::string ScheduledRunCommand() {
    std::string command = "\"";
    command +=
        platform::ApplicationFolder() + "\\" + platform::ExecutableBaseName() + ".exe\" /SCHEDULED";
    return command;
}

}  // namespace app
