// Application-wide state, filled once by Main before the main window exists.
#pragma once

#include <string>

extern std::string sLanguage;
extern bool bWasFirstRun;
extern long lFirstErrors;
extern bool bScheduledRun;

// Special folders; an empty text means the folder was not found.
extern std::string sDesktopFolder;
extern std::string sProgramsFolder;
extern std::string sCacheFolder;
extern std::string sProgramFilesFolder;
extern std::string sTempFolder;  // long form, with a trailing backslash
extern std::string sWindowsFolder;
