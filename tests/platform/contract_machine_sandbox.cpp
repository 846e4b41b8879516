#include <unistd.h>

#include <filesystem>

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

}  // namespace contract
