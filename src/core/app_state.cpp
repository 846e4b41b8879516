#include "core/app_state.h"

std::string sLanguage = "eng";
bool bWasFirstRun = false;
long lFirstErrors = -1;
bool bScheduledRun = false;

std::string sDesktopFolder;
std::string sProgramsFolder;
std::string sCacheFolder;
std::string sProgramFilesFolder;
std::string sTempFolder;
std::string sWindowsFolder;
