// What a contract test needs of the machine it runs on: a clean scratch folder and a clean
// scratch registry key, on the sandbox or on the real system.
#pragma once

#include <string>

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

}  // namespace contract
