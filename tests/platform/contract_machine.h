// What a contract test needs of the machine it runs on, on the sandbox or on the real system:
// a clean scratch folder and registry key, and files made the machine's own way; the fixture.
#pragma once

#include <optional>

#include "platform/errors.h"
#include "platform/registry.h"

namespace contract {

constexpr platform::RootKey kScratchRoot = platform::kHkeyCurrentUser;
constexpr const char* kScratchKey = "Software\\PurgelintContractTests";

// Empties the scratch folder and removes the scratch key; returns the folder's Windows path.
std::string PrepareMachine();
void MakeFolder(const std::string& windowsPath);  // with its parents
void WriteFile(const std::string& windowsPath, const std::string& bytes);
std::string ReadFile(const std::string& windowsPath);  // "<none>" when missing
void SetAttributes(const std::string& windowsPath, std::uint32_t attributes);
// Holds the file open without sharing until the next PrepareMachine.
void LockFile(const std::string& windowsPath);
// False when the machine makes none (Wine 8 accepts CreateSymbolicLinkW and makes nothing).
bool MakeSymbolicLink(const std::string& linkPath, const std::string& target);
// A shortcut file written the machine's own way (IShellLinkW on Windows).
struct Shortcut {
    std::string path{}, description{}, arguments{}, iconPath{}, workingDirectory{};
    std::uint16_t hotkey = 0;
    long iconIndex = 0, showCommand = 1;
};
void WriteShortcut(const std::string& windowsPath, const Shortcut& link);
// A command line that keeps running for a minute or more unless it is ended.
std::string CommandThatKeepsRunning();
// CharUpperW of one UTF-16 unit; none on the sandbox, whose only table is the program's.
std::optional<char16_t> SystemUpperCase(char16_t unit);

}  // namespace contract
