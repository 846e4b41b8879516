// What a contract test needs of the machine it runs on: a clean scratch folder and a clean
// scratch registry key, on the sandbox or on the real system.
#pragma once

#include <optional>
#include <string>

#include <cstdint>

#include "platform/clock.h"
#include "platform/registry.h"

namespace contract {

constexpr platform::RootKey kScratchRoot = platform::kHkeyCurrentUser;
constexpr const char* kScratchKey = "Software\\PurgelintContractTests";

// Empties the scratch folder and removes the scratch key; returns the folder's Windows path.
std::string PrepareMachine();
// Makes a folder (and its parents) given by its Windows path.
void MakeFolder(const std::string& windowsPath);
// Writes a file's bytes, given its Windows path; reads them back ("<none>" when missing).
void WriteFile(const std::string& windowsPath, const std::string& bytes);
std::string ReadFile(const std::string& windowsPath);

// File settings made the machine's own way (SetFileAttributesW, SetFileTime on Windows).
void SetAttributes(const std::string& windowsPath, std::uint32_t attributes);
void SetLastWriteTimeUtc(const std::string& windowsPath, const platform::SystemTime& utc);
// Keeps the file open without sharing until the next PrepareMachine: it exists and lists,
// but cannot be opened or deleted.
void LockFile(const std::string& windowsPath);
// A symbolic link to a file or folder; false when the machine makes none (Wine 8 accepts
// CreateSymbolicLinkW and makes nothing).
bool MakeSymbolicLink(const std::string& linkPath, const std::string& target);
// A shortcut file written the machine's own way (IShellLinkW on Windows).
struct Shortcut {
    std::string path, description, arguments, iconPath, workingDirectory;
    std::uint16_t hotkey = 0;
    long iconIndex = 0, showCommand = 1;
};
void WriteShortcut(const std::string& windowsPath, const Shortcut& link);
// The command line of a program that keeps running for a minute or more unless it is ended
// (on the sandbox, a handler that says so for this command; REG stays the stand-in).
std::string CommandThatKeepsRunning();
// Whether folders list in name order as on NTFS; Wine lists in the host file system's order.
bool ListsInNameOrder();
// The system's own upper case of a UTF-16 unit (CharUpperW); none on the sandbox, which has
// no table but the program's.
std::optional<char16_t> SystemUpperCase(char16_t unit);

}  // namespace contract
