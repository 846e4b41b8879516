#include "app/startup.h"

#include <cstdio>

#include "base/text.h"
#include "core/first_run.h"
#include "core/logs.h"
#include "core/settings.h"
#include "platform/errors.h"

namespace app {
namespace {

constexpr int kMonday = 1;
constexpr const char* kScheduledRunMutex = "Local\\TallowquincePurgelintScheduledRun";

// "ddmmyyyy", day first, no separators.
std::string DayText(const platform::SystemTime& day) {
    char text[16];
    std::snprintf(text, sizeof text, "%02u%02u%04u", day.wDay, day.wMonth, day.wYear);
    return text;
}

// A scheduled start scans on the first such start of a Monday; every other one ends.
bool ScheduledRunDue(const platform::SystemTime& today) {
    const std::string todayText = DayText(today);
    if (today.wDayOfWeek != kMonday ||
        base::Trim(core::ReadSetting("last_scheduled_run", "")) == todayText) {
        core::WriteAppLog(".. scheduled run, skipped, ending");
        return false;
    }
    core::WriteSetting("last_scheduled_run", todayText);
    core::WriteAppLog(".. performing scheduled run");
    return true;
}

}  // namespace

std::optional<Session> Start(const std::string& commandLine, const platform::SystemTime& today) {
    Session session{core::Folders(),
                    core::Language(core::ReadSetting("language", "eng")),
                    core::Exclusions::OfThisProgram(),
                    {},
                    false,
                    {}};
    if (!core::ReadSettingBool("wasfirstrun", false)) core::HandOffFirstRun();
    if (const long count = core::ReadSettingLong("firsterrors", -1); count >= 0)
        session.firstScanProblems = count;
    session.folders = core::Folders::OfThisMachine();

    const std::string arguments = base::UpperCase(commandLine);
    core::WriteAppLog("Program started " + platform::ShortDateText(today) +
                      " with params: " + arguments);
    if (arguments.find("/SCHEDULED") != std::string::npos) {
        // The Run value and the log-on task may both start the program at one log-on.
        if (platform::CreateNamedMutex(kScheduledRunMutex, session.scheduledRunGuard) ==
            platform::kErrorAlreadyExists) {
            core::WriteAppLog(".. scheduled run, already running, ending");
            return std::nullopt;
        }
        if (!ScheduledRunDue(today)) return std::nullopt;
        session.scheduledRun = true;
    }
    return session;
}

}  // namespace app
