// The benchmark's machine under Wine: the real file system, registry and shell links of the
// prefix. The program's languages lie beside the bench program (copied there by the build).
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "bench/machine.h"
#include "bench/timing.h"
#include "platform/filesystem.h"
#include "platform/folders.h"
#include "platform/shelllink.h"
#include "platform/win32/wide.h"

namespace bench {

const char* const kPlatformName = "wine";

namespace {

// A Windows path in UTF-8 as the standard library takes it: wide, or it would go through the
// ANSI code page.
std::filesystem::path StdPath(const std::string& windowsPath) {
    return std::filesystem::path(platform::win32::Wide(windowsPath));
}

std::vector<std::string> Components(const std::string& path) {
    std::vector<std::string> parts;
    std::stringstream stream(path);
    for (std::string part; std::getline(stream, part, '\\');)
        parts.push_back(part);
    return parts;
}

std::string Utf16(const std::string& ascii) {
    std::string wide;
    for (char c : ascii)
        wide += std::string{c, '\0'};
    return wide;
}

void ReplaceAll(std::string& bytes, const std::string& from, const std::string& to) {
    for (auto at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at + to.size()))
        bytes.replace(at, from.size(), to);
}

// Saving through the shell starts a helper program for every shortcut under Wine (about a
// quarter of a second each). So one shortcut is saved through the shell, to a target whose
// digits are marks, and the others are its copies with the marks replaced: a shortcut holds
// its target's path and the path's parts, in ANSI and in UTF-16, all of the same length.
class ShortcutPattern {
  public:
    explicit ShortcutPattern(const std::string& target) : target_(target) {
        for (char& c : target_)
            if (std::isdigit(static_cast<unsigned char>(c))) c = 'Z';
        const std::string file = platform::TempPath() + "PurgelintBenchPattern.lnk";
        platform::ShellLink* link = nullptr;
        if (platform::ShellLink::Instance(link) != platform::kSOk || link->SetPath(target_) < 0 ||
            link->Save(file, true) != platform::kSOk)
            throw std::runtime_error("cannot save the pattern shortcut " + file);
        {
            std::ifstream in(StdPath(file), std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            bytes_ = bytes.str();
        }
        std::filesystem::remove(StdPath(file));
    }

    std::string For(const std::string& target) const {
        const auto from = Components(target_), to = Components(target);
        if (from.size() != to.size()) throw std::runtime_error("a target of another shape");
        std::string bytes = bytes_;
        for (size_t i = 0; i < from.size(); ++i) {
            if (from[i] == to[i]) continue;
            if (from[i].size() != to[i].size())
                throw std::runtime_error("a target of another shape: " + target);
            ReplaceAll(bytes, from[i], to[i]);
            ReplaceAll(bytes, Utf16(from[i]), Utf16(to[i]));
        }
        return bytes;
    }

  private:
    std::string target_;
    std::string bytes_;
};

bool Missing(const std::string& path) {
    if (platform::GetAttributes(path) != platform::kInvalidFileAttributes) return false;
    std::fprintf(stderr, "%s is missing (scripts/bench.sh makes the files)\n", path.c_str());
    return true;
}

}  // namespace

void PrepareMachine(Plan& plan) {
    if (plan.work.empty()) {
        const std::string temp = platform::TempPath();
        if (temp.empty()) throw std::runtime_error("no temporary folder");
        plan.work = temp + kMark;
    }
    std::filesystem::create_directories(StdPath(plan.work));
}

bool MakeFiles(const Plan& plan) {
    const auto leaves = plan.TempLeafFolders();
    const std::string lastFile = Plan::TempFileName(plan.tempFilesPerLeaf - 1);
    return !Missing(plan.TempRoot() + "\\" + leaves.front() + "\\" + lastFile) &&
           !Missing(plan.TempRoot() + "\\" + leaves.back() + "\\" + lastFile) &&
           !Missing(plan.Target(plan.Targets() - 1, false));
}

bool MakeRepairFiles(const Plan& plan) {
    const int last = plan.repairFiles - 1;
    return !Missing(plan.RepairFile("run", last)) && !Missing(plan.RepairFile("floor", last));
}

double InsertIntoBareList(platform::Hwnd form, const std::vector<ListRow>& rows) {
    RECT client = {};
    ::GetClientRect(reinterpret_cast<HWND>(form), &client);
    const HWND view = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS,
        0, 0, client.right, client.bottom, reinterpret_cast<HWND>(form), nullptr,
        ::GetModuleHandleW(nullptr), nullptr);
    const int size = ::GetSystemMetrics(SM_CXSMICON);
    HIMAGELIST icons = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 3, 0);
    for (int i = 0; i < 3; ++i)
        ImageList_AddIcon(icons, ::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION)));
    ::SendMessageW(view, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    ::SendMessageW(view, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(icons));
    for (int column = 0; column < 4; ++column) {
        LVCOLUMNW c = {};
        c.mask = LVCF_WIDTH;
        c.cx = 96;
        ::SendMessageW(view, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&c));
    }
    const double ms = Millis([&] {
        ::SendMessageW(view, WM_SETREDRAW, FALSE, 0);
        for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
            std::wstring text = platform::win32::Wide(rows[row].cells[0]);
            LVITEMW item = {};
            item.mask = LVIF_TEXT | LVIF_IMAGE;
            item.iItem = row;
            item.pszText = text.data();
            item.iImage = rows[row].icon - 1;
            const auto index =
                ::SendMessageW(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
            for (item.iSubItem = 1; item.iSubItem < 4; ++item.iSubItem) {
                text = platform::win32::Wide(rows[row].cells[item.iSubItem]);
                item.pszText = text.data();
                ::SendMessageW(view, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
            }
        }
        ::SendMessageW(view, WM_SETREDRAW, TRUE, 0);
        ::UpdateWindow(view);
    });
    ::DestroyWindow(view);
    return ms;
}

void MakeShortcut(const std::string& link, const std::string& target) {
    static const ShortcutPattern pattern(target);
    static std::string folder;
    const std::string linkFolder = link.substr(0, link.rfind('\\'));
    if (linkFolder != folder) std::filesystem::create_directories(StdPath(folder = linkFolder));
    std::ofstream(StdPath(link), std::ios::binary) << pattern.For(target);
}

void MakeFile(const std::string& path) {
    std::filesystem::create_directories(StdPath(path.substr(0, path.rfind('\\'))));
    std::ofstream(StdPath(path), std::ios::binary).flush();
}

void RemoveFolder(const std::string& folder) {
    std::filesystem::remove_all(StdPath(folder));
}

void CleanUpFiles(const Plan&) {
    // scripts/bench.sh removes the workspace with host tools, much faster than Wine does.
}

}  // namespace bench
