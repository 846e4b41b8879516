#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/contract_machine.h"
#include "platform/folders.h"

namespace contract {

std::string PrepareMachine() {
    char temp[platform::kMaxPath] = {};
    platform::GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "PurgelintContract";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    platform::RegDeleteTreeA(kScratchRoot, kScratchKey);
    return folder;
}

void MakeFolder(const std::string& windowsPath) {
    std::filesystem::create_directories(windowsPath);
}

void WriteFile(const std::string& windowsPath, const std::string& bytes) {
    std::ofstream(windowsPath, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& windowsPath) {
    std::ifstream in(windowsPath, std::ios::binary);
    if (!in) return "<none>";
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace contract
