// Special folders of the user and of Windows, and the long and short forms of a path.
#pragma once

#include <string>

// Value `name` of the user's Shell Folders key; empty when it cannot be read.
std::string GetShellFolder(const std::string& name);
void InitProgramFilesFolder();
void InitTempFolder();
void InitWindowsFolder();

// The long (short) form of an existing path; any other path comes back unchanged.
std::string GetLongPath(const std::string& path);
std::string GetShortPath(const std::string& path);
