// Windows and common controls, shaped after the Win32 calls they stand for. Sizes and
// positions here are in pixels; the ui layer converts from twips.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

using Hwnd = std::uintptr_t;

enum class ControlKind { Label, Button, CheckBox, OptionButton, ListBox, ListView, ProgressBar };
enum class BorderStyle { Sizable, FixedDialog };
enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// What a form's window reports to the object that owns it, on the UI thread.
class WindowEvents {
  public:
    virtual ~WindowEvents() = default;
    virtual void OnCommand(int controlId) = 0;  // a click on a button, check or option button
    virtual void OnTimer(int timerId) = 0;
    virtual void OnClose() = 0;  // the close box (or Alt+F4)
    virtual void OnResize() = 0;
    // The context menu asked for on a control: a right click, or the menu key (Shift+F10).
    virtual void OnContextMenu(int controlId, bool fromKeyboard) = 0;
    // Ctrl+A on a control.
    virtual void OnSelectAll(int controlId) = 0;
};

// Forms start hidden. `name` identifies the window to tests; `owner` may be 0.
Hwnd CreateFormWindow(WindowEvents* events, const std::string& name, BorderStyle border,
                      Hwnd owner);
void SetOwner(Hwnd form, Hwnd owner);
Hwnd CreateControlWindow(Hwnd form, ControlKind kind, int id, const std::string& name);
void DestroyWindow(Hwnd window);  // a form takes its controls and timers with it
bool IsWindow(Hwnd window);

void SetWindowText(Hwnd window, const std::string& text);
std::string GetWindowText(Hwnd window);
// Controls: in the form's client area. Forms: the outer window on the screen.
void MoveWindow(Hwnd window, const PixelRect& rect);
PixelRect GetWindowRect(Hwnd window);
PixelRect GetClientRect(Hwnd form);
void SetClientSize(Hwnd form, int width, int height);
void CenterWindow(Hwnd form, Hwnd owner);  // on the owner, or on the screen when 0
void ShowWindow(Hwnd window, bool visible);
bool IsWindowVisible(Hwnd window);
void EnableWindow(Hwnd window, bool enabled);
bool IsWindowEnabled(Hwnd window);
void SetFocus(Hwnd window);
Hwnd GetFocus();
void SetWindowState(Hwnd form, WindowState state);
WindowState GetWindowState(Hwnd form);
// Enter presses the default button, Esc the cancel button (0: none).
void SetDialogButtons(Hwnd form, int defaultId, int cancelId);
// The order in which Tab moves the focus through the controls.
void SetTabOrder(Hwnd form, const std::vector<Hwnd>& controls);
void SetFont(Hwnd control, int pointSize, bool bold);
// TrackPopupMenuEx of a menu of `items` for the control: at the mouse pointer, or for the
// keyboard at a list view's current row (else the control's corner). The chosen item's number
// from 1, or 0 when the menu was dismissed.
int ShowPopupMenu(Hwnd control, const std::vector<std::string>& items, bool atPointer);
void SetWaitCursor(Hwnd form, bool wait);

// Check boxes 0, 1, 2 (grayed); option buttons 0, 1.
void SetCheck(Hwnd button, int value);
int GetCheck(Hwnd button);

void SetProgressRange(Hwnd bar, int minimum, int maximum);
void SetProgressPos(Hwnd bar, int value);
int GetProgressPos(Hwnd bar);

int ListBoxAddString(Hwnd list, const std::string& text);
int ListBoxGetCount(Hwnd list);
std::string ListBoxGetText(Hwnd list, int index);
int ListBoxGetCurSel(Hwnd list);  // -1: none
void ListBoxSetCurSel(Hwnd list, int index);
void ListBoxResetContent(Hwnd list);

// What an owner-data list view shows: the view keeps only the number of rows, which row is
// current and which are selected, and asks for a row's texts and icon when it draws the row or
// is asked for them (by its own program or another). Rows and columns are 0-based.
class ListViewRows {
  public:
    virtual ~ListViewRows() = default;
    virtual std::string RowText(int row, int column) const = 0;
    virtual int RowIcon(int row) const = 0;  // 0: none
};

// Report view, several rows selectable, with the three small icons (1 registry, 2 shortcut,
// 3 file; 0 none).
void ListViewInsertColumn(Hwnd view, int index, const std::string& text, int width);
std::string ListViewGetColumnText(Hwnd view, int index);
void ListViewSetColumnText(Hwnd view, int index, const std::string& text);
int ListViewGetColumnWidth(Hwnd view, int index);
void ListViewSetColumnWidth(Hwnd view, int index, int width);
// The view shows `count` rows of `rows` (which must outlive the view or the next call), none
// selected and none current; it redraws whole at the next paint.
void ListViewSetRows(Hwnd view, const ListViewRows* rows, int count);
int ListViewGetItemCount(Hwnd view);
// What the view shows, read through the view as another program reads it.
std::string ListViewGetItemText(Hwnd view, int row, int subItem);
int ListViewGetIcon(Hwnd view, int row);
// Row -1 selects or clears every row at once.
void ListViewSetSelected(Hwnd view, int row, bool selected);
bool ListViewGetSelected(Hwnd view, int row);
// Every selected row becomes unselected and every other one selected.
void ListViewInvertSelection(Hwnd view);
// The selected rows, in order.
std::vector<int> ListViewGetSelectedRows(Hwnd view);
void ListViewSetCurrent(Hwnd view, int row);  // the focused row
int ListViewGetCurrent(Hwnd view);            // -1: none
void ListViewEnsureVisible(Hwnd view, int row);

// Timers fire on the UI thread, also while a modal window runs its loop.
void SetTimer(Hwnd form, int id, int milliseconds);
void KillTimer(Hwnd form, int id);

// Runs the UI's events until `form` is destroyed.
void RunModalLoop(Hwnd form);
// Lets pending events run and returns.
void RunPendingEvents();
// Whether a running job's progress is due to be shown again: a real screen takes an update
// about every 30 ms (the eye sees no more, and a Cancel click still answers at once); the
// headless one takes every update.
bool ProgressRefreshDue();

// MessageBoxW: `type` as MB_* codes, the answer as ID* codes.
int MessageBox(Hwnd owner, const std::string& text, const std::string& caption, int type);
Hwnd GetActiveWindow();

struct ScreenMetrics {
    int width = 0;  // pixels
    int height = 0;
    int twipsPerPixelX = 15;
    int twipsPerPixelY = 15;
};
ScreenMetrics GetScreenMetrics();

}  // namespace platform
