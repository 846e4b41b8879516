// The benchmark's machine in the native build: a sandbox of its own under the host's
// temporary folder, the program in C:\Purgelint with the languages of the source tree.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "bench/machine.h"
#include "platform/sandbox/sandbox.h"

namespace bench {

const char* const kPlatformName = "native";

namespace {

constexpr const char* kAppFolder = "C:\\Purgelint";

std::filesystem::path HostRoot() {
    return std::filesystem::temp_directory_path() /
           ("purgelint-bench-" + std::to_string(::getpid()));
}

std::string HostFileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string ParentOf(const std::string& path) {
    return path.substr(0, path.rfind('\\'));
}

}  // namespace

void PrepareMachine(Plan& plan) {
    std::filesystem::remove_all(HostRoot());
    sandbox::Reset(HostRoot());
    sandbox::SetApplication(kAppFolder, "");
    for (const auto& file : std::filesystem::directory_iterator(PURGELINT_LANGUAGES_DIR))
        sandbox::WriteFile(
            std::string(kAppFolder) + "\\languages\\" + file.path().filename().string(),
            HostFileBytes(file.path()));
    const std::string temp = "C:\\Users\\bench\\AppData\\Local\\Temp\\";
    sandbox::SetTempPath(temp);
    if (plan.work.empty()) plan.work = temp + kMark;
    sandbox::MakeFolder(plan.work);
}

// Old files two years back, the others ten days back, from the sandbox's clock.
bool MakeFiles(const Plan& plan) {
    platform::SystemTime now;
    platform::GetLocalTime(now);
    for (const auto& leaf : plan.TempLeafFolders()) {
        const std::string folder = plan.TempRoot() + "\\" + leaf;
        sandbox::MakeFolder(folder);
        for (int i = 0; i < plan.tempFilesPerLeaf; ++i) {
            const std::string file = folder + "\\" + Plan::TempFileName(i);
            sandbox::WriteFile(file, "");
            if (IsBroken(i))
                sandbox::SetLastWriteTime(file, now.wYear - 2, now.wMonth, now.wDay, 10);
            else
                sandbox::SetLastWriteTime(file, now.wYear, now.wMonth, 1, 10);
        }
    }
    for (int i = 0; i < plan.Targets(); ++i)
        sandbox::WriteFile(plan.Target(i, false), "");
    return true;
}

void MakeShortcut(const std::string& link, const std::string& target) {
    sandbox::MakeFolder(ParentOf(link));
    sandbox::Shortcut shortcut;
    shortcut.path = target;
    sandbox::WriteShortcut(link, shortcut);
}

bool MakeRepairFiles(const Plan& plan) {
    for (const char* set : {"run", "floor"})
        for (int i = 0; i < plan.repairFiles; ++i)
            MakeFile(plan.RepairFile(set, i));
    return true;
}

double InsertIntoBareList(platform::Hwnd, const std::vector<ListRow>&) {
    return -1;
}

void MakeFile(const std::string& path) {
    sandbox::MakeFolder(ParentOf(path));
    sandbox::WriteFile(path, "");
}

void RemoveFolder(const std::string& folder) {
    std::filesystem::remove_all(sandbox::HostPath(folder));
}

void CleanUpFiles(const Plan&) {
    std::filesystem::remove_all(HostRoot());
}

}  // namespace bench
