// ui_driver.exe COMMAND ...: drives another process's windows from outside, the way a user
// would, for the end-to-end tests (tests/e2e/ui_test.sh). Each command prints what it found
// and exits with 1 when its window or control does not show up in time, 2 on bad usage.
//   wait TITLE [SECONDS]              a visible top-level window with that title
//   gone TITLE [SECONDS]              no visible top-level window with that title any more
//   click TITLE BUTTON [SECONDS]      posts a click to the window's button (text without "&")
//   press TITLE BUTTON [SECONDS]      clicks as click does, then waits until that window has gone
//   answer BUTTON [SECONDS]           clicks that button of a message box; prints its text
//   check TITLE CHECKBOX on|off       sets a check box by clicking it; prints its new state
//   rows TITLE                        one line per row of the window's list view: its columns
//                                     tab-separated, then "*" when selected, "-" when not, then
//                                     its icon's number in the image list from 1 (0: none)
//   click-row TITLE ROW               a left click of the mouse on the row (from 0) of the
//                                     window's list view, scrolled into view first
//   rect TITLE                        the window's rectangle: left top width height
//   move TITLE LEFT TOP WIDTH HEIGHT  moves and sizes the window
//   close TITLE [SECONDS]             asks the window to close and waits until it has gone
//   lines TITLE [SECONDS]             the window's label texts ("label: " first), then its
//                                     list box lines, each with "*" when selected, "-" not
//   choose TITLE LINE                 selects the list box line that reads LINE
//   keys TITLE KEY...                 brings the window to the front and types the keys on the
//                                     keyboard: Tab, Enter, Esc, Space, Up, Down, Left, Right,
//                                     Home, End, F10, a letter or digit, each with "Shift+",
//                                     "Ctrl+" or "Alt+"
//   focus TITLE                       the control that has the keyboard focus in the window:
//                                     its class and text, and "on"/"off" for a check box or
//                                     option button; "<none>" when no control of it has it
// Clicks are posted, not sent: a modal loop that the click opens must not block the driver.
// Keys go through SendInput, as a keyboard's do: the program's own message loop and the
// dialog manager see them with the modifier keys' state.
// Texts are Unicode: the arguments are read as the wide command line and everything is
// compared and printed in UTF-8, so that a title or row such as "日本語" is itself and not
// what an ANSI code page would make of it.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

constexpr int kDefaultSeconds = 30;
constexpr int kTextMax = 4096;

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// UTF-16 as Windows hands it over, in UTF-8.
std::string Utf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(length > 0 ? length : 0, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

// A wide buffer's text up to its first NUL.
std::string Utf8UpToNul(const wchar_t* text, size_t capacity) {
    return Utf8(std::wstring_view(text, std::find(text, text + capacity, L'\0') - text));
}

std::string WindowText(HWND window) {
    wchar_t text[kTextMax] = {};
    ::GetWindowTextW(window, text, kTextMax);
    return Utf8UpToNul(text, kTextMax);
}

std::string ClassName(HWND window) {
    wchar_t name[256] = {};
    ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return Utf8UpToNul(name, std::size(name));
}

// A control's caption as it reads on the screen: "&Cancel" is "Cancel".
std::string ShownText(HWND window) {
    std::string shown;
    for (const char c : WindowText(window))
        if (c != '&') shown += c;
    return shown;
}

template <typename Predicate>
HWND FindTopLevel(Predicate matches) {
    struct Search {
        Predicate& matches;
        HWND found;
    } search{matches, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(context);
            if (!::IsWindowVisible(window) || !s.matches(window)) return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM context) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(context)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

// Polls until `find` returns a window, or throws after `seconds`.
template <typename Find>
HWND WaitFor(const std::string& what, int seconds, Find find) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        if (HWND found = find()) return found;
        if (std::chrono::steady_clock::now() > deadline)
            throw Failure("timed out after " + std::to_string(seconds) + " s waiting for " + what);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

HWND TitledWindow(const std::string& title) {
    return FindTopLevel([&](HWND w) { return WindowText(w) == title; });
}

HWND WaitWindow(const std::string& title, int seconds) {
    return WaitFor("the window \"" + title + "\"", seconds, [&] { return TitledWindow(title); });
}

HWND WaitControl(HWND parent, const std::string& className, const std::string& text, int seconds) {
    return WaitFor("the " + className + " \"" + text + "\"", seconds, [&]() -> HWND {
        for (HWND child : Children(parent))
            if (ClassName(child) == className && (text.empty() || ShownText(child) == text))
                return child;
        return nullptr;
    });
}

void WaitGone(HWND window, const std::string& what, int seconds) {
    WaitFor(what + " to go", seconds, [&]() -> HWND {
        return ::IsWindow(window) && ::IsWindowVisible(window) ? nullptr : window;
    });
}

void Click(HWND button) {
    if (!::PostMessageW(button, BM_CLICK, 0, 0)) throw Failure("the click could not be posted");
}

// A message box: the dialog class with a button of that text.
HWND WaitMessageBox(const std::string& button, int seconds) {
    return WaitFor("a message box with \"" + button + "\"", seconds, [&] {
        return FindTopLevel([&](HWND w) {
            if (ClassName(w) != "#32770") return false;
            for (HWND child : Children(w))
                if (ClassName(child) == "Button" && ShownText(child) == button) return true;
            return false;
        });
    });
}

std::string Flattened(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

// Owns memory allocated in another process.
class RemoteBuffer {
  public:
    RemoteBuffer(HANDLE process, SIZE_T size)
        : process_(process),
          address_(
              ::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
        if (!address_) throw Failure("VirtualAllocEx failed: " + std::to_string(GetLastError()));
    }
    ~RemoteBuffer() { ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    char* Address() const { return static_cast<char*>(address_); }
    void Write(SIZE_T offset, const void* data, SIZE_T size) const {
        if (!::WriteProcessMemory(process_, Address() + offset, data, size, nullptr))
            throw Failure("WriteProcessMemory failed: " + std::to_string(GetLastError()));
    }
    void Read(SIZE_T offset, void* data, SIZE_T size) const {
        if (!::ReadProcessMemory(process_, Address() + offset, data, size, nullptr))
            throw Failure("ReadProcessMemory failed: " + std::to_string(GetLastError()));
    }

  private:
    HANDLE process_;
    void* address_;
};

class ProcessHandle {
  public:
    explicit ProcessHandle(HWND window) {
        DWORD id = 0;
        ::GetWindowThreadProcessId(window, &id);
        handle_ =
            ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
        if (!handle_) throw Failure("OpenProcess failed: " + std::to_string(GetLastError()));
    }
    ~ProcessHandle() { ::CloseHandle(handle_); }
    ProcessHandle(const ProcessHandle&) = delete;
    ProcessHandle& operator=(const ProcessHandle&) = delete;
    HANDLE Get() const { return handle_; }

  private:
    HANDLE handle_ = nullptr;
};

// The list view's texts live in the other process: the item that asks for them, and the
// buffer they are copied to, must be there too. Asked in UTF-16, they come as they are.
std::string RemoteItemText(HWND view, const RemoteBuffer& remote, int row, int column) {
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(remote.Address() + sizeof item);
    item.cchTextMax = kTextMax;
    remote.Write(0, &item, sizeof item);
    const wchar_t nothing = L'\0';
    remote.Write(sizeof item, &nothing, sizeof nothing);
    ::SendMessageW(view, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote.Address()));
    wchar_t text[kTextMax] = {};
    remote.Read(sizeof item, text, (kTextMax - 1) * sizeof(wchar_t));
    return Utf8UpToNul(text, kTextMax);
}

// The row's icon: the item that asks for it lives in the other process too.
int RemoteItemIcon(HWND view, const RemoteBuffer& remote, int row) {
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    remote.Write(0, &item, sizeof item);
    if (!::SendMessageW(view, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.Address())))
        return 0;
    remote.Read(0, &item, sizeof item);
    return item.iImage >= 0 ? item.iImage + 1 : 0;
}

HWND ListViewOf(HWND window) {
    return WaitControl(window, Utf8(WC_LISTVIEWW), "", 5);
}

void PrintRows(HWND window) {
    HWND view = ListViewOf(window);
    const int rows = static_cast<int>(::SendMessageW(view, LVM_GETITEMCOUNT, 0, 0));
    HWND header = reinterpret_cast<HWND>(::SendMessageW(view, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    const ProcessHandle process(view);
    const RemoteBuffer remote(process.Get(), sizeof(LVITEMW) + kTextMax * sizeof(wchar_t));
    for (int row = 0; row < rows; ++row) {
        std::string line;
        for (int column = 0; column < columns; ++column)
            line += RemoteItemText(view, remote, row, column) + "\t";
        const bool selected =
            ::SendMessageW(view, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED;
        std::printf("%s%s\t%d\n", line.c_str(), selected ? "*" : "-",
                    RemoteItemIcon(view, remote, row));
    }
}

void SetCheckBox(HWND window, const std::string& text, const std::string& state) {
    if (state != "on" && state != "off") throw std::invalid_argument("on or off");
    const LRESULT wanted = state == "on" ? BST_CHECKED : BST_UNCHECKED;
    HWND box = WaitControl(window, "Button", text, kDefaultSeconds);
    if (::SendMessageW(box, BM_GETCHECK, 0, 0) != wanted) Click(box);
    WaitFor("the check box to turn " + state, 10, [&]() -> HWND {
        return ::SendMessageW(box, BM_GETCHECK, 0, 0) == wanted ? box : nullptr;
    });
    std::printf("%s\n", state.c_str());
}

// List box messages carry their text across processes themselves. Asked in UTF-16, as the
// program's Unicode list boxes keep it (Wine's mapping of the ANSI form to another process's
// list box faults, too).
std::vector<std::string> ListBoxLines(HWND list) {
    std::vector<std::string> lines;
    const int count = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, index, 0);
        std::wstring text(length > 0 ? static_cast<size_t>(length) + 1 : 1, L'\0');
        ::SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
        lines.push_back(Utf8UpToNul(text.data(), text.size()));
    }
    return lines;
}

void PrintLines(HWND window) {
    for (HWND child : Children(window))
        if (ClassName(child) == "Static" && !WindowText(child).empty())
            std::printf("label: %s\n", Flattened(WindowText(child)).c_str());
    HWND list = WaitControl(window, "ListBox", "", 5);
    const auto selected = static_cast<int>(::SendMessageW(list, LB_GETCURSEL, 0, 0));
    int index = 0;
    for (const std::string& line : ListBoxLines(list))
        std::printf("%s\t%s\n", line.c_str(), index++ == selected ? "*" : "-");
}

void ChooseLine(HWND window, const std::string& wanted) {
    HWND list = WaitControl(window, "ListBox", "", 5);
    const std::vector<std::string> lines = ListBoxLines(list);
    const auto found = std::find(lines.begin(), lines.end(), wanted);
    if (found == lines.end()) throw Failure("no line \"" + wanted + "\" in the list");
    ::SendMessageW(list, LB_SETCURSEL, found - lines.begin(), 0);
}

// The control that holds the focus of the window's thread (another process's: its own
// GetFocus does not see it), when that control is the window or one of its children.
HWND FocusedControl(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info))
        throw Failure("GetGUIThreadInfo failed: " + std::to_string(GetLastError()));
    HWND focus = info.hwndFocus;
    return focus && (focus == window || ::IsChild(window, focus)) ? focus : nullptr;
}

void PrintFocus(HWND window) {
    HWND focus = FocusedControl(window);
    if (!focus) {
        std::printf("<none>\n");
        return;
    }
    std::string line = ClassName(focus) + "\t" + ShownText(focus);
    const LONG type = ::GetWindowLongW(focus, GWL_STYLE) & BS_TYPEMASK;
    if (ClassName(focus) == "Button" && type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON)
        line += ::SendMessageW(focus, BM_GETCHECK, 0, 0) == BST_CHECKED ? "\ton" : "\toff";
    std::printf("%s\n", line.c_str());
}

// A key as it is named on the command line ("Tab", "Shift+Tab", "Alt+O"): the modifier keys
// held, then the key.
std::vector<WORD> KeyStroke(const std::string& name) {
    static const std::pair<const char*, WORD> kNamed[] = {
        {"Shift", VK_SHIFT},  {"Ctrl", VK_CONTROL}, {"Alt", VK_MENU},    {"Tab", VK_TAB},
        {"Enter", VK_RETURN}, {"Esc", VK_ESCAPE},   {"Space", VK_SPACE}, {"Up", VK_UP},
        {"Down", VK_DOWN},    {"Left", VK_LEFT},    {"Right", VK_RIGHT}, {"Home", VK_HOME},
        {"End", VK_END},      {"F10", VK_F10}};
    std::vector<WORD> keys;
    size_t start = 0;
    for (;;) {
        const size_t plus = name.find('+', start);
        const std::string part = name.substr(start, plus - start);
        const auto named = std::find_if(std::begin(kNamed), std::end(kNamed),
                                        [&](const auto& key) { return part == key.first; });
        if (named != std::end(kNamed)) {
            keys.push_back(named->second);
        } else if (part.size() == 1 && std::isalnum(static_cast<unsigned char>(part[0]))) {
            keys.push_back(static_cast<WORD>(std::toupper(static_cast<unsigned char>(part[0]))));
        } else {
            throw std::invalid_argument("the key \"" + name + "\"");
        }
        if (plus == std::string::npos) return keys;
        start = plus + 1;
    }
}

INPUT KeyInput(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    const bool extended = key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT ||
                          key == VK_HOME || key == VK_END;
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

// Keys go to the window in front, as the keyboard's do.
void BringToFront(HWND window) {
    if (::GetForegroundWindow() != window) ::SetForegroundWindow(window);
    WaitFor("the window to come to the front", 5,
            [&] { return ::GetForegroundWindow() == window ? window : nullptr; });
}

void TypeKeys(HWND window, const std::vector<std::string>& names) {
    BringToFront(window);
    for (const std::string& name : names) {
        const std::vector<WORD> keys = KeyStroke(name);
        std::vector<INPUT> inputs;
        for (const WORD key : keys)
            inputs.push_back(KeyInput(key, false));
        for (auto key = keys.rbegin(); key != keys.rend(); ++key)
            inputs.push_back(KeyInput(*key, true));
        if (::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) !=
            inputs.size())
            throw Failure("SendInput failed: " + std::to_string(GetLastError()));
        // Time for the program to take the key before the next one: a key that opens a
        // window must find that window there for the keys after it.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
}

// A left click where the row (from 0) of the window's list view shows on the screen, as the
// mouse's would come: the view scrolls the row into view first.
void ClickRow(HWND window, int row) {
    HWND view = ListViewOf(window);
    ::SendMessageW(view, LVM_ENSUREVISIBLE, row, FALSE);
    const ProcessHandle process(view);
    const RemoteBuffer remote(process.Get(), sizeof(RECT));
    RECT rect = {};
    rect.left = LVIR_LABEL;
    remote.Write(0, &rect, sizeof rect);
    if (!::SendMessageW(view, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(remote.Address())))
        throw Failure("no row " + std::to_string(row) + " in the list");
    remote.Read(0, &rect, sizeof rect);
    POINT at = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ::ClientToScreen(view, &at);
    BringToFront(window);
    ::SetCursorPos(at.x, at.y);
    INPUT inputs[2] = {};
    for (INPUT& input : inputs)
        input.type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    if (::SendInput(2, inputs, sizeof(INPUT)) != 2)
        throw Failure("SendInput failed: " + std::to_string(GetLastError()));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

int Seconds(const std::vector<std::string>& args, size_t index) {
    return args.size() > index ? std::stoi(args[index]) : kDefaultSeconds;
}

void Run(const std::vector<std::string>& args) {
    const std::string& command = args.at(0);
    if (command == "wait") {
        HWND window = WaitWindow(args.at(1), Seconds(args, 2));
        std::printf("%s\n", ClassName(window).c_str());
    } else if (command == "gone") {
        const std::string& title = args.at(1);
        WaitFor("\"" + title + "\" to go", Seconds(args, 2),
                [&] { return TitledWindow(title) ? nullptr : ::GetDesktopWindow(); });
    } else if (command == "click") {
        const int seconds = Seconds(args, 3);
        Click(WaitControl(WaitWindow(args.at(1), seconds), "Button", args.at(2), seconds));
    } else if (command == "press") {
        const int seconds = Seconds(args, 3);
        HWND window = WaitWindow(args.at(1), seconds);
        Click(WaitControl(window, "Button", args.at(2), seconds));
        WaitGone(window, "\"" + args.at(1) + "\"", seconds);
    } else if (command == "answer") {
        const int seconds = Seconds(args, 2);
        HWND box = WaitMessageBox(args.at(1), seconds);
        std::printf("%s\n", WindowText(box).c_str());
        for (HWND child : Children(box))
            if (ClassName(child) == "Static" && !WindowText(child).empty())
                std::printf("%s\n", Flattened(WindowText(child)).c_str());
        Click(WaitControl(box, "Button", args.at(1), seconds));
        WaitGone(box, "the message box", seconds);
    } else if (command == "check") {
        SetCheckBox(WaitWindow(args.at(1), kDefaultSeconds), args.at(2), args.at(3));
    } else if (command == "rows") {
        PrintRows(WaitWindow(args.at(1), kDefaultSeconds));
    } else if (command == "click-row") {
        ClickRow(WaitWindow(args.at(1), kDefaultSeconds), std::stoi(args.at(2)));
    } else if (command == "rect") {
        RECT r = {};
        ::GetWindowRect(WaitWindow(args.at(1), kDefaultSeconds), &r);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    } else if (command == "move") {
        HWND window = WaitWindow(args.at(1), kDefaultSeconds);
        if (!::SetWindowPos(window, nullptr, std::stoi(args.at(2)), std::stoi(args.at(3)),
                            std::stoi(args.at(4)), std::stoi(args.at(5)),
                            SWP_NOZORDER | SWP_NOACTIVATE))
            throw Failure("SetWindowPos failed: " + std::to_string(GetLastError()));
    } else if (command == "lines") {
        PrintLines(WaitWindow(args.at(1), Seconds(args, 2)));
    } else if (command == "choose") {
        ChooseLine(WaitWindow(args.at(1), kDefaultSeconds), args.at(2));
    } else if (command == "keys") {
        TypeKeys(WaitWindow(args.at(1), kDefaultSeconds),
                 std::vector<std::string>(args.begin() + 2, args.end()));
    } else if (command == "focus") {
        PrintFocus(WaitWindow(args.at(1), kDefaultSeconds));
    } else if (command == "close") {
        const int seconds = Seconds(args, 2);
        HWND window = WaitWindow(args.at(1), seconds);
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        WaitGone(window, "\"" + args.at(1) + "\"", seconds);
    } else {
        throw std::invalid_argument(command);
    }
}

// The arguments as the wide command line has them, in UTF-8.
std::vector<std::string> Arguments() {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide) throw Failure("the command line could not be read");
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i)
        args.push_back(Utf8(wide[i]));
    ::LocalFree(wide);
    return args;
}

}  // namespace

// What it prints is UTF-8 bytes, passed on unchanged.
int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    try {
        Run(Arguments());
        return 0;
    } catch (const Failure& e) {
        std::fprintf(stderr, "ui_driver: %s\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ui_driver: bad usage (%s); see the comment at its top\n", e.what());
        return 2;
    }
}
