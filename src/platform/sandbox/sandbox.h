// The test bed of the native build: a machine of our own that behaves like Windows where
// the system depends on it, configured by tests and able to break on purpose. Only tests
// include this header.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/registry.h"
#include "platform/window.h"

namespace sandbox {

// A fresh machine: empty registry (the five roots), drives as folders under `hostRoot`
// (one per drive letter), the clock at Monday 2026-12-07 09:00, no folders configured.
void Reset(const std::filesystem::path& hostRoot);

// --- Files -------------------------------------------------------------------------------
// The host path behind a Windows path; existing components are matched without regard to
// case, missing ones are taken as written.
std::filesystem::path HostPath(const std::string& windowsPath);
void MakeFolder(const std::string& windowsPath);
void WriteFile(const std::string& windowsPath, const std::string& bytes);
std::optional<std::string> ReadFile(const std::string& windowsPath);
// A folder whose files cannot be created or changed (as for a user without write rights).
void DenyWrites(const std::string& windowsFolder);

// DOS attributes (read-only, hidden, system, archive) of a file or folder; the directory
// bit follows the entry itself.
void SetAttributes(const std::string& windowsPath, std::uint32_t attributes);
// The last-write time, in the machine's local time (the sandbox's local time is UTC).
void SetLastWriteTime(const std::string& windowsPath, int year, int month, int day, int hour = 0,
                      int minute = 0, int second = 0);
// The file exists and lists, but cannot be opened (in use by another program).
void LockFile(const std::string& windowsPath);
// Neither the entry's attributes nor its date can be read (it still lists in its folder).
void HideAttributes(const std::string& windowsPath);
// The folder exists, but listing it fails with ERROR_ACCESS_DENIED.
void DenyListing(const std::string& windowsFolder);
// Reparse points: a junction to a folder, a symbolic link to a file or folder. The target
// may be anywhere, an ancestor of the link included (a loop).
void MakeJunction(const std::string& linkPath, const std::string& targetFolder);
void MakeSymbolicLink(const std::string& linkPath, const std::string& target);
// A reparse point leading to `target` with any tag: 0 or another number, as Wine reports a
// host link (its tag is left undefined), or a tag that is no link (a deduplicated folder).
void MakeReparsePoint(const std::string& linkPath, const std::string& target, std::uint32_t tag);

// Shortcut files in the sandbox's own storage format, read and written by the same
// ShellLink calls the system uses.
struct Shortcut {
    std::string path;  // the target
    std::string description;
    std::string arguments;
    std::string workingDirectory;
    std::string iconPath;
    long iconIndex = 0;
    std::uint16_t hotkey = 0;
    long showCommand = 1;
};
void WriteShortcut(const std::string& windowsPath, const Shortcut& link);
std::optional<Shortcut> ReadShortcut(const std::string& windowsPath);

// --- The running program and its surroundings ---------------------------------------------
void SetApplication(const std::string& folder, const std::string& arguments,
                    const std::string& executableBaseName = "purgelint");
// What the executable carries as its built-in English language file (none by default).
void SetBuiltInLanguageFile(const std::string& bytes);
// A variable of the program's environment (its name in any letter case); COMPUTERNAME is
// "SANDBOX" on a new machine.
void SetEnvironmentVariable(const std::string& name, const std::string& value);
// Whether the program runs with an administrator's rights (not on a new machine).
void SetElevated(bool elevated);
// The lines the program wrote for whoever started it, in order.
const std::vector<std::string>& OutputLines();
void SetTempPath(const std::string& path);
void SetWindowsDirectory(const std::string& path);
void SetSpecialFolder(int folder, const std::string& path);
// The clock's local date and time; the day of the week follows from the date.
void SetLocalTime(int year, int month, int day, int hour = 9, int minute = 0, int second = 0);
// Short date form in GetDateFormat picture notation (d, dd, M, MM, yy, yyyy).
void SetShortDateFormat(const std::string& picture);
// Time form in GetTimeFormat picture notation (h, hh, H, HH, m, mm, s, ss, t, tt); the
// default is "h:mm:ss tt".
void SetTimeFormat(const std::string& picture);

// Every change the system made, in order: "append <file>", "delete <file>",
// "shortcut <file>" (a shortcut saved), "profile <file> <key>",
// "set <root>\\<key>\\<name>", "delete <root>\\<key>\\<name>", roots as HKLM, HKCU ...
const std::vector<std::string>& Journal();

// --- Registry -----------------------------------------------------------------------------
struct Value {
    std::uint32_t type = 0;
    std::string data;  // the stored bytes, exactly
    bool operator==(const Value&) const = default;
};
void CreateKey(platform::RootKey root, const std::string& key);
// Stores the bytes as they are, creating the key; REG_SZ text is stored with its NUL.
void SetValue(platform::RootKey root, const std::string& key, const std::string& name,
              std::uint32_t type, const std::string& data);
void SetString(platform::RootKey root, const std::string& key, const std::string& name,
               const std::string& text);
std::optional<Value> GetValue(platform::RootKey root, const std::string& key,
                              const std::string& name);
bool KeyExists(platform::RootKey root, const std::string& key);
// The key and everything below it open only for reading and cannot be deleted, as HKLM
// for a standard user.
void RefuseFullAccess(platform::RootKey root, const std::string& key);
// Runs `action` once, right after the system's next successful key open: another program
// at work while the system holds the key (deleting it, say).
void AfterNextKeyOpen(std::function<void()> action);

// --- Processes ----------------------------------------------------------------------------
// What becomes of a process the system starts.
struct ProcessOutcome {
    long startError = 0;         // not 0: StartProcess fails with this code, nothing runs
    std::uint32_t exitCode = 0;  // the code it has ended with
    bool neverEnds = false;      // waits time out (advancing the virtual clock) until ended

    static ProcessOutcome FailsToStart(long error) { return {error, 0, false}; }
    static ProcessOutcome EndsWith(std::uint32_t code) { return {0, code, false}; }
    static ProcessOutcome NeverEnds() { return {0, 0, true}; }
};
using ProcessHandler = std::function<ProcessOutcome(const std::string& commandLine)>;
// Decides the outcome of each later start by its command line; null restores the default,
// RunRegTool. The handler runs when the process starts, so what it does (files it writes)
// is there at once.
void OnProcessStart(ProcessHandler handler);
// The machine's only program, a stand-in for REG: "REG EXPORT <key> <file> [/y]", the
// arguments split by the Windows command-line rules (blanks, quotes, backslashes before a
// quote). It writes the key with its subkeys and values as .reg text in UTF-8 (the real
// tool writes UTF-16) and ends with 0; it ends with 1 and writes nothing for
// wrong arguments, a missing key, a missing folder, or an existing file without /y (where
// the real tool would ask on its console). Other programs fail to start with
// ERROR_FILE_NOT_FOUND.
ProcessOutcome RunRegTool(const std::string& commandLine);
// Every command line given to StartProcess, in order, failed starts included.
const std::vector<std::string>& StartedProcesses();
// Started processes that have neither ended nor been terminated.
std::size_t RunningProcesses();

// --- Windows (headless) ---------------------------------------------------------------------
// Controls keep their state; modal loops and RunPendingEvents fire due timers on a virtual clock
// and run the scripted actions below, in order, each once it is ready.

// A modal loop or message box that has nothing left to do: the test fails instead of hanging.
struct StuckUi : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct ScriptedAction {
    std::string what;
    std::function<bool()> ready;  // null: ready at once
    std::function<void()> run;
};
void Script(const std::string& what, std::function<void()> run,
            std::function<bool()> ready = nullptr);
// Actions for Script: a click on a control (check boxes toggle first, as their window does),
// and the close box of a form.
std::function<void()> ClickOn(const std::string& form, const std::string& control);
std::function<void()> CloseBoxOf(const std::string& form);
// The menu key on a control; the next popup menus' choices (numbers from 1, 0 dismissed, the
// default once none is left) and every menu shown, by its items.
std::function<void()> ContextMenuOn(const std::string& form, const std::string& control);
// Ctrl+A on a control.
std::function<void()> SelectAllKeysOn(const std::string& form, const std::string& control);
void AnswerPopupMenu(int item);
const std::vector<std::vector<std::string>>& PopupMenus();
// A key as the dialog manager handles it on a form: Enter presses the default button, Esc
// the cancel button (nothing happens when the form has none).
enum class DialogKey { Enter, Esc };
std::function<void()> PressKey(const std::string& form, DialogKey key);
std::size_t PendingActions();

// Answers of the next message boxes, in order; and what every message box showed.
void AnswerMessageBox(int answer);
struct ShownMessageBox {
    std::string text;
    std::string caption;
    int type = 0;
};
const std::vector<ShownMessageBox>& MessageBoxes();

// The newest window of a form name, and a control on it by name; 0 when there is none.
platform::Hwnd FindForm(const std::string& form);
platform::Hwnd FindControl(const std::string& form, const std::string& control);
// Milliseconds of the virtual clock since Reset.
long long VirtualTime();
void SetScreen(const platform::ScreenMetrics& screen);

}  // namespace sandbox
