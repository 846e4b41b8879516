// Headless windows for the native build: state only, a virtual clock for timers, and the
// test's scripted actions in place of a user.
#include <algorithm>
#include <exception>

#include "platform/failure.h"
#include "platform/sandbox/machine.h"
#include "platform/sandbox/sandbox.h"
#include "platform/window.h"

namespace platform {
namespace {

using sandbox::HeadlessTimer;
using sandbox::HeadlessWindow;

constexpr int kFrameWidth = 8;                        // non-client pixels of a form, across
constexpr int kFrameHeight = 31;                      // and down
constexpr long long kModalPatience = 60 * 60 * 1000;  // virtual time a modal loop may idle

sandbox::HeadlessUi& Ui() {
    return sandbox::TheMachine().ui;
}

HeadlessWindow* Find(Hwnd window) {
    auto it = Ui().windows.find(window);
    return it == Ui().windows.end() ? nullptr : &it->second;
}

// Unknown handles read as a default window, as the real calls fail softly on them.
const HeadlessWindow& Get(Hwnd window) {
    static const HeadlessWindow none;
    const HeadlessWindow* found = Find(window);
    return found ? *found : none;
}

template <typename Change>
void Update(Hwnd window, Change change) {
    if (HeadlessWindow* w = Find(window)) change(*w);
}

// Calls a handler of the ui layer behind the same boundary as the real window procedure.
// The test's own alarm, StuckUi, is no failure of the program's: it passes.
template <typename Handler>
void Raise(const HeadlessWindow& form, const char* event, Handler&& handler) {
    std::exception_ptr stuck;
    CallHandler(form.name, event, [&] {
        try {
            handler();
        } catch (const sandbox::StuckUi&) {
            stuck = std::current_exception();
        }
    });
    if (stuck) std::rethrow_exception(stuck);
}

void Resized(Hwnd form) {
    const HeadlessWindow* w = Find(form);
    if (w && w->isForm && w->shown && w->events)
        Raise(*w, "Resize", [events = w->events] { events->OnResize(); });
}

bool RunReadyAction() {
    auto& script = Ui().script;
    if (script.empty() || (script.front().ready && !script.front().ready())) return false;
    auto action = std::move(script.front());
    script.erase(script.begin());
    action.run();
    return true;
}

// Fires the first timer due by `until` (advancing the clock to it); false when none is.
bool FireTimerDueBy(long long until) {
    HeadlessTimer* next = nullptr;
    for (auto& timer : Ui().timers)
        if (!timer.firing && timer.due <= until && (!next || timer.due < next->due)) next = &timer;
    if (!next) return false;
    const Hwnd form = next->form;
    const int id = next->id;
    Ui().now = std::max(Ui().now, next->due);
    next->due = Ui().now + next->interval;
    next->firing = true;
    if (const HeadlessWindow* w = Find(form); w && w->events)
        Raise(*w, "Timer", [events = w->events, id] { events->OnTimer(id); });
    for (auto& timer : Ui().timers)
        if (timer.form == form && timer.id == id) timer.firing = false;
    return true;
}

}  // namespace

Hwnd CreateFormWindow(WindowEvents* events, const std::string& name, BorderStyle border,
                      Hwnd owner) {
    const Hwnd hwnd = Ui().nextHandle++;
    HeadlessWindow& w = Ui().windows[hwnd];
    w.isForm = true;
    w.name = name;
    w.events = events;
    w.border = border;
    w.owner = owner;
    w.visible = false;
    w.rect = {0, 0, 320 + kFrameWidth, 240 + kFrameHeight};
    return hwnd;
}

void SetOwner(Hwnd form, Hwnd owner) {
    Update(form, [&](HeadlessWindow& w) { w.owner = owner; });
}

Hwnd CreateControlWindow(Hwnd form, ControlKind kind, int id, const std::string& name) {
    const Hwnd hwnd = Ui().nextHandle++;
    HeadlessWindow& w = Ui().windows[hwnd];
    w.kind = kind;
    w.name = name;
    w.parent = form;
    w.id = id;
    return hwnd;
}

void DestroyWindow(Hwnd window) {
    auto& ui = Ui();
    std::erase_if(ui.timers, [window](const HeadlessTimer& t) { return t.form == window; });
    std::erase_if(ui.windows, [window](const auto& entry) {
        return entry.first == window || entry.second.parent == window;
    });
    if (!Find(ui.focus)) ui.focus = 0;
}

bool IsWindow(Hwnd window) {
    return Find(window) != nullptr;
}

void SetWindowText(Hwnd window, const std::string& text) {
    Update(window, [&](HeadlessWindow& w) { w.text = text; });
}

std::string GetWindowText(Hwnd window) {
    return Get(window).text;
}

void MoveWindow(Hwnd window, const PixelRect& rect) {
    Update(window, [&](HeadlessWindow& w) { w.rect = rect; });
    Resized(window);
}

PixelRect GetWindowRect(Hwnd window) {
    return Get(window).rect;
}

PixelRect GetClientRect(Hwnd form) {
    const PixelRect r = Get(form).rect;
    return {0, 0, std::max(0, r.width - kFrameWidth), std::max(0, r.height - kFrameHeight)};
}

void SetClientSize(Hwnd form, int width, int height) {
    Update(form, [&](HeadlessWindow& w) {
        w.rect.width = width + kFrameWidth;
        w.rect.height = height + kFrameHeight;
    });
    Resized(form);
}

void CenterWindow(Hwnd form, Hwnd owner) {
    const ScreenMetrics& screen = Ui().screen;
    const PixelRect around = owner ? Get(owner).rect : PixelRect{0, 0, screen.width, screen.height};
    Update(form, [&](HeadlessWindow& w) {
        w.rect.left = around.left + (around.width - w.rect.width) / 2;
        w.rect.top = around.top + (around.height - w.rect.height) / 2;
    });
}

void ShowWindow(Hwnd window, bool visible) {
    bool firstShow = false;
    Update(window, [&](HeadlessWindow& w) {
        w.visible = visible;
        firstShow = w.isForm && visible && !w.shown;
        if (firstShow) w.shown = true;
    });
    if (firstShow) Resized(window);
}

bool IsWindowVisible(Hwnd window) {
    const HeadlessWindow& w = Get(window);
    return w.visible && (w.parent == 0 || Get(w.parent).visible);
}

void EnableWindow(Hwnd window, bool enabled) {
    Update(window, [&](HeadlessWindow& w) { w.enabled = enabled; });
}

bool IsWindowEnabled(Hwnd window) {
    return IsWindow(window) && Get(window).enabled;
}

void SetFocus(Hwnd window) {
    if (IsWindow(window)) Ui().focus = window;
}

Hwnd GetFocus() {
    return Ui().focus;
}

void SetWindowState(Hwnd form, WindowState state) {
    Update(form, [&](HeadlessWindow& w) { w.state = state; });
    Resized(form);
}

WindowState GetWindowState(Hwnd form) {
    return Get(form).state;
}

void SetDialogButtons(Hwnd form, int defaultId, int cancelId) {
    Update(form, [&](HeadlessWindow& w) {
        w.defaultId = defaultId;
        w.cancelId = cancelId;
    });
}

void SetTabOrder(Hwnd form, const std::vector<Hwnd>& controls) {
    Update(form, [&](HeadlessWindow& w) { w.tabOrder = controls; });
}

void SetFont(Hwnd control, int pointSize, bool bold) {
    Update(control, [&](HeadlessWindow& w) {
        w.fontSize = pointSize;
        w.bold = bold;
    });
}

void SetWaitCursor(Hwnd form, bool wait) {
    Update(form, [&](HeadlessWindow& w) { w.waitCursor = wait; });
}

void SetCheck(Hwnd button, int value) {
    Update(button, [&](HeadlessWindow& w) { w.check = value; });
}

int GetCheck(Hwnd button) {
    return Get(button).check;
}

void SetProgressRange(Hwnd bar, int minimum, int maximum) {
    Update(bar, [&](HeadlessWindow& w) {
        w.minimum = minimum;
        w.maximum = maximum;
        w.position = std::clamp(w.position, minimum, maximum);
    });
}

void SetProgressPos(Hwnd bar, int value) {
    Update(bar, [&](HeadlessWindow& w) { w.position = std::clamp(value, w.minimum, w.maximum); });
}

int GetProgressPos(Hwnd bar) {
    return Get(bar).position;
}

int ListBoxAddString(Hwnd list, const std::string& text) {
    int index = -1;
    Update(list, [&](HeadlessWindow& w) {
        w.items.push_back(text);
        index = static_cast<int>(w.items.size()) - 1;
    });
    return index;
}

int ListBoxGetCount(Hwnd list) {
    return static_cast<int>(Get(list).items.size());
}

std::string ListBoxGetText(Hwnd list, int index) {
    const auto& items = Get(list).items;
    return index >= 0 && index < static_cast<int>(items.size()) ? items[index] : std::string();
}

int ListBoxGetCurSel(Hwnd list) {
    return Get(list).selectedItem;
}

void ListBoxSetCurSel(Hwnd list, int index) {
    Update(list, [&](HeadlessWindow& w) {
        w.selectedItem = index >= 0 && index < static_cast<int>(w.items.size()) ? index : -1;
    });
}

void ListBoxResetContent(Hwnd list) {
    Update(list, [&](HeadlessWindow& w) {
        w.items.clear();
        w.selectedItem = -1;
    });
}

void ListViewInsertColumn(Hwnd view, int index, const std::string& text, int width) {
    Update(view, [&](HeadlessWindow& w) {
        const auto at = std::min<std::size_t>(index, w.columns.size());
        w.columns.insert(w.columns.begin() + at, {text, width});
    });
}

namespace {

template <typename Change>
void UpdateColumn(Hwnd view, int index, Change change) {
    Update(view, [&](HeadlessWindow& w) {
        if (index >= 0 && index < static_cast<int>(w.columns.size())) change(w.columns[index]);
    });
}

template <typename Change>
void UpdateRow(Hwnd view, int row, Change change) {
    Update(view, [&](HeadlessWindow& w) {
        if (row >= 0 && row < static_cast<int>(w.rows.size())) change(w.rows[row]);
    });
}

const HeadlessWindow::Row& GetRow(Hwnd view, int row) {
    static const HeadlessWindow::Row none;
    const auto& rows = Get(view).rows;
    return row >= 0 && row < static_cast<int>(rows.size()) ? rows[row] : none;
}

}  // namespace

std::string ListViewGetColumnText(Hwnd view, int index) {
    const auto& columns = Get(view).columns;
    return index >= 0 && index < static_cast<int>(columns.size()) ? columns[index].text : "";
}

void ListViewSetColumnText(Hwnd view, int index, const std::string& text) {
    UpdateColumn(view, index, [&](auto& column) { column.text = text; });
}

int ListViewGetColumnWidth(Hwnd view, int index) {
    const auto& columns = Get(view).columns;
    return index >= 0 && index < static_cast<int>(columns.size()) ? columns[index].width : 0;
}

void ListViewSetColumnWidth(Hwnd view, int index, int width) {
    UpdateColumn(view, index, [&](auto& column) { column.width = width; });
}

int ListViewAppendRow(Hwnd view, const std::string& text, int icon) {
    int row = -1;
    Update(view, [&](HeadlessWindow& w) {
        HeadlessWindow::Row added;
        added.texts[0] = text;
        added.icon = icon;
        w.rows.push_back(added);
        row = static_cast<int>(w.rows.size()) - 1;
        if (w.currentRow < 0) w.currentRow = 0;  // the control's own default current row
    });
    return row;
}

void ListViewSetItemText(Hwnd view, int row, int subItem, const std::string& text) {
    UpdateRow(view, row, [&](auto& r) {
        if (subItem >= 0 && subItem < 4) r.texts[subItem] = text;
    });
}

std::string ListViewGetItemText(Hwnd view, int row, int subItem) {
    return subItem >= 0 && subItem < 4 ? GetRow(view, row).texts[subItem] : "";
}

int ListViewGetIcon(Hwnd view, int row) {
    return GetRow(view, row).icon;
}

int ListViewGetItemCount(Hwnd view) {
    return static_cast<int>(Get(view).rows.size());
}

void ListViewDeleteAllItems(Hwnd view) {
    Update(view, [&](HeadlessWindow& w) {
        w.rows.clear();
        w.currentRow = w.visibleRow = -1;
    });
}

void ListViewSetSelected(Hwnd view, int row, bool selected) {
    UpdateRow(view, row, [&](auto& r) { r.selected = selected; });
}

bool ListViewGetSelected(Hwnd view, int row) {
    return GetRow(view, row).selected;
}

void ListViewSetCurrent(Hwnd view, int row) {
    Update(view, [&](HeadlessWindow& w) {
        if (row >= 0 && row < static_cast<int>(w.rows.size())) w.currentRow = row;
    });
}

int ListViewGetCurrent(Hwnd view) {
    return Get(view).currentRow;
}

void ListViewEnsureVisible(Hwnd view, int row) {
    Update(view, [&](HeadlessWindow& w) { w.visibleRow = row; });
}

void SetTimer(Hwnd form, int id, int milliseconds) {
    if (!IsWindow(form)) return;
    auto& timers = Ui().timers;
    auto it = std::find_if(timers.begin(), timers.end(),
                           [&](const HeadlessTimer& t) { return t.form == form && t.id == id; });
    if (it == timers.end()) it = timers.insert(timers.end(), HeadlessTimer{form, id});
    it->interval = milliseconds;
    it->due = Ui().now + milliseconds;
}

void KillTimer(Hwnd form, int id) {
    std::erase_if(Ui().timers,
                  [&](const HeadlessTimer& t) { return t.form == form && t.id == id; });
}

void RunModalLoop(Hwnd form) {
    const ModalLoopScope loop;
    const long long started = Ui().now;
    while (IsWindow(form)) {
        if (loop.HandlerFailed()) {
            // After a failed handler the form's state is unknown: it goes without its Unload.
            DestroyWindow(form);
            return;
        }
        if (RunReadyAction()) continue;
        if (Ui().now - started < kModalPatience && FireTimerDueBy(started + kModalPatience))
            continue;
        const std::string name = Get(form).name;
        DestroyWindow(form);
        throw sandbox::StuckUi("the modal loop of " + name + " has nothing left to do");
    }
}

void DoEvents() {
    while (RunReadyAction() || FireTimerDueBy(Ui().now)) {
    }
}

// Headless controls cost nothing to update, and tests see every progress line.
bool ProgressRefreshDue() {
    return true;
}

int MessageBox(Hwnd, const std::string& text, const std::string& caption, int type) {
    auto& ui = Ui();
    ui.messageBoxes.push_back({text, caption, type});
    if (ui.answers.empty()) throw sandbox::StuckUi("no answer for the message box: " + text);
    const int answer = ui.answers.front();
    ui.answers.erase(ui.answers.begin());
    return answer;
}

Hwnd GetActiveWindow() {
    Hwnd active = 0;
    for (const auto& [hwnd, w] : Ui().windows)
        if (w.isForm && w.visible && w.enabled) active = hwnd;
    return active;
}

ScreenMetrics GetScreenMetrics() {
    return Ui().screen;
}

}  // namespace platform

namespace sandbox {

void Script(const std::string& what, std::function<void()> run, std::function<bool()> ready) {
    TheMachine().ui.script.push_back({what, std::move(ready), std::move(run)});
}

platform::Hwnd FindForm(const std::string& form) {
    platform::Hwnd found = 0;
    for (const auto& [hwnd, w] : TheMachine().ui.windows)
        if (w.isForm && w.name == form) found = hwnd;
    return found;
}

platform::Hwnd FindControl(const std::string& form, const std::string& control) {
    const platform::Hwnd parent = FindForm(form);
    for (const auto& [hwnd, w] : TheMachine().ui.windows)
        if (parent && w.parent == parent && w.name == control) return hwnd;
    return 0;
}

std::function<void()> ClickOn(const std::string& form, const std::string& control) {
    return [form, control] {
        HeadlessWindow* w = platform::Find(FindControl(form, control));
        if (!w) throw StuckUi("no control " + control + " on " + form + " to click");
        if (!platform::IsWindowVisible(FindControl(form, control)) || !w->enabled) return;
        if (w->kind == platform::ControlKind::CheckBox) w->check = w->check == 1 ? 0 : 1;
        const int id = w->id;
        if (HeadlessWindow* f = platform::Find(w->parent); f && f->enabled && f->events)
            platform::Raise(*f, "Click", [events = f->events, id] { events->OnCommand(id); });
    };
}

std::function<void()> CloseBoxOf(const std::string& form) {
    return [form] {
        HeadlessWindow* w = platform::Find(FindForm(form));
        if (!w || !w->events) throw StuckUi("no window " + form + " to close");
        platform::Raise(*w, "Close", [events = w->events] { events->OnClose(); });
    };
}

std::size_t PendingActions() {
    return TheMachine().ui.script.size();
}

void AnswerMessageBox(int answer) {
    TheMachine().ui.answers.push_back(answer);
}

const std::vector<ShownMessageBox>& MessageBoxes() {
    return TheMachine().ui.messageBoxes;
}

long long VirtualTime() {
    return TheMachine().ui.now;
}

void SetScreen(const platform::ScreenMetrics& screen) {
    TheMachine().ui.screen = screen;
}

}  // namespace sandbox
