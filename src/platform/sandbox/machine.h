// The sandbox machine's state, shared by the sandbox backend's sources.
#pragma once

#include <cctype>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/filesystem.h"
#include "platform/registry.h"
#include "platform/row_selection.h"
#include "platform/window.h"
#include "platform/sandbox/sandbox.h"
#include "base/text.h"

namespace sandbox {

// Windows names compare without regard to case, in every alphabet.
using base::NoCaseLess;
using base::UpperCase;

struct RegValueEntry {
    std::string name;
    std::uint32_t type = 0;
    std::string data;
};

struct RegKeyNode {
    std::map<std::string, std::shared_ptr<RegKeyNode>, NoCaseLess> subkeys;
    std::vector<RegValueEntry> values;  // in insertion order
    bool readOnly = false;              // refuses every access beyond reading
    bool deleted = false;               // with its whole subtree: open handles answer so

    RegValueEntry* FindValue(const std::string& name);
};

struct OpenedKey {
    std::shared_ptr<RegKeyNode> node;
    std::uint32_t access = 0;
    std::string path;       // as opened, for the journal
    bool readOnly = false;  // the key or one above it refuses full access
};

// A headless window: a form or a control, with the state a real one would keep.
struct HeadlessWindow {
    bool isForm = false;
    platform::ControlKind kind = platform::ControlKind::Label;
    std::string name;
    platform::Hwnd parent = 0;  // the form of a control
    platform::Hwnd owner = 0;   // the owner of a form
    int id = 0;
    platform::WindowEvents* events = nullptr;
    platform::BorderStyle border = platform::BorderStyle::Sizable;
    platform::WindowState state = platform::WindowState::Normal;
    bool shown = false;  // a form that has been shown once
    std::string text;
    platform::PixelRect rect;
    // Where a form returns when it is restored: moves of a maximized or minimized form
    // change its rect only, as on Windows.
    platform::PixelRect normalRect;
    bool visible = true;
    bool enabled = true;
    int fontSize = 8;
    bool bold = false;
    bool waitCursor = false;
    int defaultId = 0;
    int cancelId = 0;
    std::vector<platform::Hwnd> tabOrder;
    int check = 0;
    int minimum = 0, maximum = 100, position = 0;
    std::vector<std::string> items;  // list box
    int selectedItem = -1;
    struct Column {
        std::string text;
        int width = 0;
    };
    std::vector<Column> columns;
    // An owner-data list view keeps the number of rows, their selection and the current row;
    // it asks `rowSource` for what a row shows.
    const platform::ListViewRows* rowSource = nullptr;
    platform::RowSelection selection;
    int currentRow = -1;
    int visibleRow = -1;  // the row last scrolled into view
};

struct HeadlessTimer {
    platform::Hwnd form = 0;
    int id = 0;
    int interval = 0;
    long long due = 0;
    bool firing = false;
};

struct HeadlessUi {
    std::map<platform::Hwnd, HeadlessWindow> windows;
    std::vector<HeadlessTimer> timers;
    platform::Hwnd focus = 0;
    platform::Hwnd nextHandle = 0x10000;
    long long now = 0;  // virtual milliseconds
    std::vector<ScriptedAction> script;
    std::vector<int> answers;
    std::vector<ShownMessageBox> messageBoxes;
    std::vector<int> menuAnswers;                 // the next popup menus' choices
    std::vector<std::vector<std::string>> menus;  // every popup menu shown
    platform::ScreenMetrics screen{1280, 1024, 15, 15};
};

// What the sandbox keeps of a file or folder beyond its host entry, set by tests.
struct FileState {
    bool hasDosAttributes = false;  // else: archive for a file, none for a folder
    std::uint32_t dosAttributes = 0;
    bool locked = false;
    bool attributesHidden = false;
    bool listingDenied = false;
    std::optional<std::uint32_t> reparseTag;  // a reparse point made by a test
    bool linksFolder = false;
};

// An open folder listing: the entries as they stood when it was opened.
struct FindListing {
    std::vector<platform::FindData> entries;
    size_t next = 0;
};

// A process started on the machine, by its handle.
struct SandboxProcess {
    bool running = false;
    std::uint32_t exitCode = 0;
    bool handleClosed = false;  // the process may still run, the handle answers no more
};

struct Machine {
    std::filesystem::path hostRoot;
    std::set<std::string> denyWriteFolders;  // upper-case Windows paths
    std::string appFolder = "C:\\Purgelint";
    std::string arguments;
    std::string builtInLanguageFile;
    std::map<std::string, std::string> environment = {{"COMPUTERNAME", "SANDBOX"}};
    std::vector<std::string> outputLines;  // what the program wrote for its starter
    bool elevated = false;
    std::string executableBaseName = "purgelint";
    std::string tempPath;
    std::string windowsDirectory;
    std::map<int, std::string> specialFolders;
    platform::SystemTime now;
    std::string shortDatePicture = "M/d/yyyy";
    std::string timePicture = "h:mm:ss tt";
    std::map<std::string, FileState> files;  // keyed by FileKey
    std::map<std::uintptr_t, FindListing> listings;
    std::uintptr_t nextFindHandle = 0x1000;

    std::map<platform::RootKey, std::shared_ptr<RegKeyNode>> roots;
    std::map<std::uintptr_t, OpenedKey> openKeys;
    std::uintptr_t nextHandle = 0x100;
    std::function<void()> afterNextKeyOpen;

    ProcessHandler processHandler;                  // null: RunRegTool
    std::map<std::uintptr_t, std::string> mutexes;  // open mutex handles and their names
    std::vector<std::string> startedProcesses;
    std::map<std::uintptr_t, SandboxProcess> processes;  // every one started, by handle
    std::uintptr_t nextProcessHandle = 0x4000;

    std::vector<std::string> journal;  // every change, in order
    HeadlessUi ui;
};

Machine& TheMachine();

// Windows path helpers of the sandbox file system. SplitPath takes a slash for a backslash,
// as file paths do; registry key paths split on backslashes only (registry.cpp).
std::vector<std::string> SplitPath(const std::string& windowsPath);
// The host folder of a drive ("C:" lives in "c").
inline std::string DriveFolder(const std::string& drive) {
    return std::string(1, static_cast<char>(std::tolower(static_cast<unsigned char>(drive[0]))));
}
bool IsWriteDenied(const std::string& windowsPath);
// Whether a file may be created or changed at the path: its folder exists and takes writes.
bool MayWrite(const std::string& windowsPath);
// Writes (or appends) the bytes to a host file and gives it a last-write time later than any
// write before it, as a file system whose clock is finer than the gap between two writes
// (the host's coarse clock gives two quick writes the same time, and what is cached by time
// and size would go stale). False when the file cannot be written.
bool WriteHostFile(const std::filesystem::path& host, const std::string& bytes,
                   bool append = false);
// The side-table key of a path: its components joined by backslashes, in upper case.
std::string FileKey(const std::string& windowsPath);
// The test's settings for a path, or null.
const FileState* FindFileState(const std::string& windowsPath);

}  // namespace sandbox
