#include <unistd.h>

#include "platform/contract_machine.h"
#include "platform/sandbox/sandbox.h"

namespace contract {

std::string PrepareMachine() {
    const auto root = std::filesystem::temp_directory_path() /
                      ("purgelint-contract-" + std::to_string(::getpid()));
    std::filesystem::remove_all(root);
    sandbox::Reset(root);
    sandbox::MakeFolder("C:\\Scratch");
    return "C:\\Scratch";
}

void MakeFolder(const std::string& windowsPath) {
    sandbox::MakeFolder(windowsPath);
}

void WriteFile(const std::string& windowsPath, const std::string& bytes) {
    sandbox::WriteFile(windowsPath, bytes);
}

std::string ReadFile(const std::string& windowsPath) {
    return sandbox::ReadFile(windowsPath).value_or("<none>");
}

void SetAttributes(const std::string& windowsPath, std::uint32_t attributes) {
    sandbox::SetAttributes(windowsPath, attributes);
}

void LockFile(const std::string& windowsPath) {
    sandbox::LockFile(windowsPath);
}

bool MakeSymbolicLink(const std::string& linkPath, const std::string& target) {
    return sandbox::MakeSymbolicLink(linkPath, target), true;
}

void WriteShortcut(const std::string& windowsPath, const Shortcut& link) {
    sandbox::WriteShortcut(windowsPath,
                           {link.path, link.description, link.arguments, link.workingDirectory,
                            link.iconPath, link.iconIndex, link.hotkey, link.showCommand});
}

// REG stays the stand-in for every other command line.
std::string CommandThatKeepsRunning() {
    const std::string command = "C:\\Tools\\waiter.exe 120";
    sandbox::OnProcessStart([command](const std::string& commandLine) {
        return commandLine == command ? sandbox::ProcessOutcome::NeverEnds()
                                      : sandbox::RunRegTool(commandLine);
    });
    return command;
}

std::optional<char16_t> SystemUpperCase(char16_t) {
    return std::nullopt;
}

}  // namespace contract
