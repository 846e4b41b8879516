// The scripted user: the test's actions in the order given, each once it is ready, and
// the answers to message boxes.
#include "platform/sandbox/window/window_internal.h"

namespace platform {

namespace headless {

bool RunReadyAction() {
    auto& script = Ui().script;
    if (script.empty() || (script.front().ready && !script.front().ready())) return false;
    auto action = std::move(script.front());
    script.erase(script.begin());
    action.run();
    return true;
}

}  // namespace headless

// The next scripted choice, or dismissed (0) when none is left.
int ShowPopupMenu(Hwnd, const std::vector<std::string>& items, bool) {
    auto& ui = headless::Ui();
    ui.menus.push_back(items);
    if (ui.menuAnswers.empty()) return 0;
    const int item = ui.menuAnswers.front();
    ui.menuAnswers.erase(ui.menuAnswers.begin());
    return item;
}

int MessageBox(Hwnd, const std::string& text, const std::string& caption, int type) {
    auto& ui = headless::Ui();
    ui.messageBoxes.push_back({text, caption, type});
    if (ui.answers.empty()) throw sandbox::StuckUi("no answer for the message box: " + text);
    const int answer = ui.answers.front();
    ui.answers.erase(ui.answers.begin());
    return answer;
}

}  // namespace platform

namespace sandbox {

using platform::headless::Find;
using platform::headless::Raise;

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
        const platform::Hwnd hwnd = FindControl(form, control);
        HeadlessWindow* w = Find(hwnd);
        if (!w) throw StuckUi("no control " + control + " on " + form + " to click");
        // A user cannot click what is hidden or disabled.
        if (!platform::IsWindowVisible(hwnd) || !w->enabled) return;
        if (w->kind == platform::ControlKind::CheckBox) w->check = w->check == 1 ? 0 : 1;
        const int id = w->id;
        if (HeadlessWindow* f = Find(w->parent); f && f->enabled && f->events)
            Raise(*f, "Click", [events = f->events, id] { events->OnCommand(id); });
    };
}

std::function<void()> CloseBoxOf(const std::string& form) {
    return [form] {
        HeadlessWindow* w = Find(FindForm(form));
        if (!w || !w->events) throw StuckUi("no window " + form + " to close");
        Raise(*w, "Close", [events = w->events] { events->OnClose(); });
    };
}

std::function<void()> PressKey(const std::string& form, DialogKey key) {
    return [form, key] {
        HeadlessWindow* w = Find(FindForm(form));
        if (!w || !w->events) throw StuckUi("no window " + form + " for the key");
        const int id = key == DialogKey::Enter ? w->defaultId : w->cancelId;
        if (id != 0 && w->enabled)
            Raise(*w, "Click", [events = w->events, id] { events->OnCommand(id); });
    };
}

namespace {

// A key the control's form hears of: `tell` passes it on with the control's id.
std::function<void()> KeyOn(const std::string& form, const std::string& control, const char* what,
                            std::function<void(platform::WindowEvents&, int)> tell) {
    return [=] {
        HeadlessWindow* w = Find(FindControl(form, control));
        if (!w) throw StuckUi("no control " + control + " on " + form + " for " + what);
        const int id = w->id;
        if (HeadlessWindow* f = Find(w->parent); f && f->enabled && f->events)
            Raise(*f, what, [events = f->events, id, &tell] { tell(*events, id); });
    };
}

}  // namespace

std::function<void()> ContextMenuOn(const std::string& form, const std::string& control) {
    return KeyOn(form, control, "ContextMenu",
                 [](platform::WindowEvents& events, int id) { events.OnContextMenu(id, true); });
}

std::function<void()> SelectAllKeysOn(const std::string& form, const std::string& control) {
    return KeyOn(form, control, "SelectAll",
                 [](platform::WindowEvents& events, int id) { events.OnSelectAll(id); });
}

void AnswerPopupMenu(int item) {
    platform::headless::Ui().menuAnswers.push_back(item);
}

const std::vector<std::vector<std::string>>& PopupMenus() {
    return platform::headless::Ui().menus;
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

}  // namespace sandbox
