#include "forms/form.h"

#include <algorithm>
#include <utility>

#include "forms/interaction.h"

namespace forms {
namespace {

platform::PixelRect ToPixels(const TwipRect& r) {
    return {Screen::ToPixelsX(r.left), Screen::ToPixelsY(r.top), Screen::ToPixelsX(r.width),
            Screen::ToPixelsY(r.height)};
}

TwipRect ToTwips(const platform::PixelRect& r) {
    const int x = Screen::TwipsPerPixelX(), y = Screen::TwipsPerPixelY();
    return {r.left * x, r.top * y, r.width * x, r.height * y};
}

// The owner of a modal form: disabled while the form's loop runs, enabled again and given
// the focus however the loop ends.
class DisabledOwner {
  public:
    explicit DisabledOwner(platform::Hwnd owner) : owner_(owner) {
        if (owner_) platform::EnableWindow(owner_, false);
    }
    ~DisabledOwner() {
        if (!owner_ || !platform::IsWindow(owner_)) return;
        platform::EnableWindow(owner_, true);
        platform::SetFocus(owner_);
    }
    DisabledOwner(const DisabledOwner&) = delete;
    DisabledOwner& operator=(const DisabledOwner&) = delete;

  private:
    platform::Hwnd owner_;
};

}  // namespace

TwipRect Control::Bounds() const {
    return ToTwips(platform::GetWindowRect(hwnd_));
}

void Control::Move(const TwipRect& bounds) {
    platform::MoveWindow(hwnd_, ToPixels(bounds));
}

void Timer::SetInterval(int milliseconds) {
    interval_ = milliseconds;
    Apply();
}

void Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Apply();
}

void Timer::Apply() {
    if (!form_ || !form_->IsLoaded()) return;
    if (enabled_ && interval_ > 0) {
        platform::SetTimer(form_->Hwnd(), id_, interval_);
    } else {
        platform::KillTimer(form_->Hwnd(), id_);
    }
}

Form::Form(std::string name) : name_(std::move(name)) {}

Form::~Form() {
    if (IsLoaded()) platform::DestroyWindow(hwnd_);
}

void Form::Load() {
    if (IsLoaded()) return;
    controls_.clear();
    tabOrder_.clear();
    timers_.clear();
    hwnd_ = platform::CreateFormWindow(this, name_, border_, owner_);
    Design();
    for (Timer* timer : timers_)
        timer->Apply();
    OnLoad();
}

void Form::Show(ShowMode mode, Form* owner) {
    owner_ = owner ? owner->Hwnd() : 0;
    Load();
    if (!IsLoaded()) return;
    platform::SetOwner(hwnd_, owner_);
    if (start_ == StartPosition::CenterOwner) platform::CenterWindow(hwnd_, owner_);
    platform::ShowWindow(hwnd_, true);
    FocusFirstControl();
    if (mode == ShowMode::Modeless) return;
    const DisabledOwner disabled(owner_);
    platform::RunModalLoop(hwnd_);
    // The loop may have ended with the window gone without Unload (a handler failed).
    if (!IsLoaded()) Detach();
}

void Form::Unload() {
    if (!IsLoaded()) return;
    if (!CanClose()) return;
    OnUnload();
    if (!IsLoaded()) return;
    platform::DestroyWindow(Detach());
}

platform::Hwnd Form::Detach() {
    for (Control* control : controls_)
        control->hwnd_ = 0;
    return std::exchange(hwnd_, 0);
}

TwipRect Form::Bounds() const {
    return ToTwips(platform::GetWindowRect(hwnd_));
}

void Form::Move(const TwipRect& bounds) {
    platform::MoveWindow(hwnd_, ToPixels(bounds));
}

int Form::ScaleWidth() const {
    return platform::GetClientRect(hwnd_).width * Screen::TwipsPerPixelX();
}

int Form::ScaleHeight() const {
    return platform::GetClientRect(hwnd_).height * Screen::TwipsPerPixelY();
}

void Form::SetClientSize(int width, int height) {
    platform::SetClientSize(hwnd_, Screen::ToPixelsX(width), Screen::ToPixelsY(height));
}

void Form::Add(Control& control, const std::string& name, const TwipRect& bounds) {
    control.form_ = this;
    control.name_ = name;
    control.id_ = nextId_++;
    control.hwnd_ = platform::CreateControlWindow(hwnd_, control.Kind(), control.id_, name);
    control.Move(bounds);
    controls_.push_back(&control);
    tabOrder_.push_back(&control);
}

void Form::Add(Timer& timer, int interval, bool enabled) {
    timer.form_ = this;
    timer.id_ = nextId_++;
    timer.interval_ = interval;
    timer.enabled_ = enabled;
    timers_.push_back(&timer);
}

void Form::SetDialogButtons(const Control* defaultButton, const Control* cancelButton) {
    platform::SetDialogButtons(hwnd_, defaultButton ? defaultButton->id_ : 0,
                               cancelButton ? cancelButton->id_ : 0);
}

void Form::SetTabOrder(const std::vector<Control*>& order) {
    tabOrder_ = order;
    std::vector<platform::Hwnd> windows;
    for (const Control* control : order)
        windows.push_back(control->hwnd_);
    platform::SetTabOrder(hwnd_, windows);
}

std::vector<platform::Hwnd> Form::OptionButtons() const {
    std::vector<platform::Hwnd> buttons;
    for (const Control* control : controls_)
        if (control->Kind() == platform::ControlKind::OptionButton)
            buttons.push_back(control->hwnd_);
    return buttons;
}

void Form::FocusFirstControl() {
    const platform::Hwnd focus = platform::GetFocus();
    for (const Control* control : controls_)
        if (control->hwnd_ == focus) return;  // OnLoad chose one
    for (Control* control : tabOrder_) {
        if (control->Kind() == platform::ControlKind::Label) continue;
        if (control->Visible() && control->Enabled()) {
            control->SetFocus();
            return;
        }
    }
}

void Form::OnCommand(int controlId) {
    for (Control* control : controls_) {
        if (control->id_ == controlId && control->Enabled()) {
            control->Clicked();
            return;
        }
    }
}

void Form::OnContextMenu(int controlId, bool fromKeyboard) {
    for (Control* control : controls_)
        if (control->id_ == controlId && control->Enabled())
            control->ContextMenuAsked(fromKeyboard);
}

void Form::OnSelectAll(int controlId) {
    for (Control* control : controls_)
        if (control->id_ == controlId && control->Enabled()) control->SelectAllAsked();
}

void Form::OnTimer(int timerId) {
    for (Timer* timer : timers_) {
        if (timer->id_ == timerId && timer->enabled_ && timer->Tick) {
            timer->Tick();
            return;
        }
    }
}

}  // namespace forms
