// demo_installer.exe PAYLOAD: installs three made-up programs on the machine it runs on, the
// way a setup program does, for scripts/demo.sh to remove or move by hand afterwards. Each
// program gets a folder in Program Files with PAYLOAD copied in as its program and its
// uninstaller, an uninstall entry, an App Paths entry, a start-up entry, a shared library
// count, a help file and a font, and shortcuts on the desktop and in the Start menu made by
// the shell's link object. Not a test: a machine to look at.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/com.h"
#include "platform/contract_machine.h"
#include "platform/folders.h"
#include "platform/registry.h"
#include "platform/win32/wide.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;
using platform::RootKey;

constexpr int kCsidlPrograms = 0x02;
constexpr int kCsidlDesktopDirectory = 0x10;

const std::string kWindows = "Software\\Microsoft\\Windows\\CurrentVersion";

struct Program {
    std::string name;     // the folder and the shown name
    std::string exe;      // the program's file name
    std::string file;     // the base name of its help file, font and library
    RootKey startupRoot;  // whose Run key starts it
};

const std::vector<Program> kPrograms = {
    {"Quillmere Notes", "quillnotes.exe", "quillnt", kHkeyCurrentUser},
    {"Brackenfold Photo Viewer", "brackview.exe", "brackvw", kHkeyLocalMachine},
    {"Larkspan Tuner", "larktune.exe", "larktn", kHkeyCurrentUser},
};

void SetValue(RootKey root, const std::string& key, const std::string& name, std::uint32_t type,
              const void* data, std::uint32_t size) {
    platform::RegKey opened;
    long rc = platform::CreateKey(root, key, platform::kKeyAllAccess, opened);
    if (rc == 0) rc = platform::SetValue(opened, name, type, data, size);
    if (rc != 0)
        throw std::runtime_error("writing " + key + "\\" + name + " failed: " + std::to_string(rc));
}

void SetString(RootKey root, const std::string& key, const std::string& name,
               const std::string& text) {
    SetValue(root, key, name, platform::kRegSz, text.c_str(),
             static_cast<std::uint32_t>(text.size() + 1));
}

void SetDword(RootKey root, const std::string& key, const std::string& name, std::uint32_t n) {
    SetValue(root, key, name, platform::kRegDword, &n, sizeof n);
}

std::string SpecialFolder(int csidl) {
    const std::string folder = platform::SpecialFolderPath(csidl, true);
    if (folder.empty()) throw std::runtime_error("no special folder " + std::to_string(csidl));
    return folder;
}

void Install(const Program& program, const std::filesystem::path& payload) {
    const std::string folder = SpecialFolder(platform::kCsidlProgramFiles) + "\\" + program.name;
    const std::string exe = folder + "\\" + program.exe;
    const std::string uninstaller = folder + "\\uninst.exe";
    const std::string library = folder + "\\" + program.file + "core.dll";
    const std::string font = folder + "\\" + program.file + ".ttf";
    contract::MakeFolder(folder);
    for (const std::string& copy : {exe, uninstaller})
        std::filesystem::copy_file(payload, std::filesystem::path(platform::win32::Wide(copy)),
                                   std::filesystem::copy_options::overwrite_existing);
    contract::WriteFile(library, "MZ");
    contract::WriteFile(folder + "\\" + program.file + ".hlp", "?_\3");
    contract::WriteFile(font, std::string("\0\1\0\0", 4));

    const std::string uninstall = kWindows + "\\Uninstall\\" + program.name;
    SetString(kHkeyLocalMachine, uninstall, "DisplayName", program.name);
    SetString(kHkeyLocalMachine, uninstall, "DisplayIcon", exe + ",0");
    SetString(kHkeyLocalMachine, uninstall, "InstallLocation", folder);
    SetString(kHkeyLocalMachine, uninstall, "UninstallString", "\"" + uninstaller + "\" /S");
    SetString(kHkeyLocalMachine, kWindows + "\\App Paths\\" + program.exe, "", exe);
    SetString(kHkeyLocalMachine, kWindows + "\\App Paths\\" + program.exe, "Path", folder);
    SetString(program.startupRoot, kWindows + "\\Run", program.name, "\"" + exe + "\" /tray");
    SetDword(kHkeyLocalMachine, kWindows + "\\SharedDLLs", library, 1);
    SetString(kHkeyLocalMachine, "Software\\Microsoft\\Windows\\Help", program.file + ".hlp",
              folder);
    SetString(kHkeyLocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts",
              program.name + " (TrueType)", font);

    contract::Shortcut link;
    link.path = exe;
    link.workingDirectory = folder;
    link.description = program.name;
    link.iconPath = exe;
    contract::WriteShortcut(SpecialFolder(kCsidlDesktopDirectory) + "\\" + program.name + ".lnk",
                            link);
    const std::string menu = SpecialFolder(kCsidlPrograms) + "\\" + program.name;
    contract::MakeFolder(menu);
    contract::WriteShortcut(menu + "\\" + program.name + ".lnk", link);
    link.path = uninstaller;
    link.arguments = "/S";
    link.description = "Removes " + program.name;
    contract::WriteShortcut(menu + "\\Uninstall " + program.name + ".lnk", link);
    std::cout << "installed " << program.name << " in " << folder << "\n";
}

}  // namespace

// The payload's path as it was given, in Unicode: a path outside the code page stays itself.
int main() {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv) {
        std::cerr << "demo_installer: the command line could not be read\n";
        return 1;
    }
    const std::filesystem::path payload = argc == 2 ? argv[1] : L"";
    ::LocalFree(argv);
    if (argc != 2) {
        std::cerr << "usage: demo_installer.exe PAYLOAD.exe\n";
        return 2;
    }
    try {
        const platform::ComApartment apartment;
        if (!apartment.Entered()) throw std::runtime_error("the COM apartment was refused");
        for (const Program& program : kPrograms)
            Install(program, payload);
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "demo_installer: " << e.what() << "\n";
        return 1;
    }
}
