#include "platform/sandbox/machine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>

#include "platform/sandbox/sandbox.h"

namespace sandbox {

Machine& TheMachine() {
    static Machine machine;
    return machine;
}

std::vector<std::string> SplitPath(const std::string& windowsPath) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : windowsPath) {
        if (c == '\\' || c == '/') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

bool IsWriteDenied(const std::string& windowsPath) {
    std::string folder;
    for (const auto& part : SplitPath(windowsPath)) {
        if (!folder.empty()) folder += '\\';
        folder += base::UpperCase(part);
        if (TheMachine().denyWriteFolders.count(folder)) return true;
    }
    return false;
}

bool MayWrite(const std::string& windowsPath) {
    const auto host = HostPath(windowsPath);
    std::error_code ec;
    return !host.empty() && std::filesystem::is_directory(host.parent_path(), ec) &&
           !IsWriteDenied(windowsPath);
}

void Reset(const std::filesystem::path& hostRoot) {
    Machine& m = TheMachine();
    m = Machine();
    m.hostRoot = hostRoot;
    std::filesystem::create_directories(hostRoot / "c");
    for (platform::RootKey root :
         {platform::kHkeyClassesRoot, platform::kHkeyCurrentUser, platform::kHkeyLocalMachine,
          platform::kHkeyUsers, platform::kHkeyCurrentConfig}) {
        m.roots[root] = std::make_shared<RegKeyNode>();
    }
    SetLocalTime(2026, 12, 7);
}

std::filesystem::path HostPath(const std::string& windowsPath) {
    const auto parts = SplitPath(windowsPath);
    if (parts.empty() || parts[0].size() != 2 || parts[0][1] != ':') return {};
    std::filesystem::path host = TheMachine().hostRoot / DriveFolder(parts[0]);
    for (size_t i = 1; i < parts.size(); ++i) {
        std::filesystem::path next = host / parts[i];
        std::error_code ec;
        if (!std::filesystem::exists(next, ec) && std::filesystem::is_directory(host, ec)) {
            for (const auto& entry : std::filesystem::directory_iterator(host, ec)) {
                if (base::EqualsNoCase(entry.path().filename().string(), parts[i])) {
                    next = entry.path();
                    break;
                }
            }
        }
        host = next;
    }
    return host;
}

void MakeFolder(const std::string& windowsPath) {
    std::filesystem::create_directories(HostPath(windowsPath));
}

bool WriteHostFile(const std::filesystem::path& host, const std::string& bytes, bool append) {
    {
        std::ofstream out(host, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
        out << bytes;
        if (!out.flush()) return false;
    }
    static std::int64_t lastNanoseconds = 0;
    timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    constexpr std::int64_t kBillion = 1000000000;
    const std::int64_t stamp =
        std::max<std::int64_t>(now.tv_sec * kBillion + now.tv_nsec, lastNanoseconds + 1000);
    lastNanoseconds = stamp;
    const timespec times[2] = {{0, UTIME_OMIT}, {stamp / kBillion, stamp % kBillion}};
    ::utimensat(AT_FDCWD, host.c_str(), times, 0);
    return true;
}

void WriteFile(const std::string& windowsPath, const std::string& bytes) {
    const auto host = HostPath(windowsPath);
    std::filesystem::create_directories(host.parent_path());
    WriteHostFile(host, bytes);
}

std::optional<std::string> ReadFile(const std::string& windowsPath) {
    std::ifstream in(HostPath(windowsPath), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void DenyWrites(const std::string& windowsFolder) {
    std::string folder;
    for (const auto& part : SplitPath(windowsFolder))
        folder += (folder.empty() ? "" : "\\") + part;
    TheMachine().denyWriteFolders.insert(base::UpperCase(folder));
}

}  // namespace sandbox
