#include "core/startup.h"

#include <cstdio>
#include <string>

#include "core/app_state.h"
#include "core/first_run.h"
#include "core/folders.h"
#include "core/logs.h"
#include "core/settings.h"
#include "platform/application.h"
#include "platform/clock.h"
#include "platform/text.h"

namespace {

constexpr int kMonday = 1;

// "ddmmyyyy", day first, no separators.
std::string DayText(const platform::SystemTime& day) {
    char text[16];
    std::snprintf(text, sizeof text, "%02u%02u%04u", day.wDay, day.wMonth, day.wYear);
    return text;
}

// A "/SCHEDULED" start scans on the first such start of a Monday; every other one ends.
// Returns false when the process is to end now.
bool DecideRunMode(const std::string& commandLine, const platform::SystemTime& today) {
    bScheduledRun = false;
    if (commandLine.find("/SCHEDULED") == std::string::npos) return true;
    const std::string todayText = DayText(today);
    if (today.wDayOfWeek == kMonday &&
        platform::Trim(ReadSetting("last_scheduled_run", "")) != todayText) {
        WriteSetting("last_scheduled_run", todayText);
        bScheduledRun = true;
        WriteAppLog(".. performing scheduled run");
    }
    if (!bScheduledRun) {
        WriteAppLog(".. scheduled run, skipped, ending");
        return false;
    }
    return true;
}

}  // namespace

void Main(MainWindowStarter* mainWindow) {
    sLanguage = ReadSetting("language", "eng");
    bWasFirstRun = ReadSettingBool("wasfirstrun", false);
    lFirstErrors = ReadSettingLong("firsterrors", -1);
    if (!bWasFirstRun) HandOffFirstRun();

    sDesktopFolder = GetShellFolder("Desktop");
    sProgramsFolder = GetShellFolder("Programs");
    sCacheFolder = GetShellFolder("Cache");
    InitProgramFilesFolder();
    InitTempFolder();
    InitWindowsFolder();

    const std::string commandLine = platform::UpperCase(platform::CommandLineArguments());
    platform::SystemTime today;
    platform::GetLocalTime(today);
    WriteAppLog("Program started " + platform::ShortDateText(today) +
                " with params: " + commandLine);
    if (!DecideRunMode(commandLine, today)) return;

    if (!mainWindow) return;
    mainWindow->CreateAndLoad();
    if (bScheduledRun) mainWindow->EnableScheduledRun();
    mainWindow->Show();
}
