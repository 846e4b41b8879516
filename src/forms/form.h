// Forms and the controls on them, with their positions and sizes in twips (1440 per inch).
// A form's Design creates its controls in their design state when the form loads.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/window.h"

namespace forms {

class Form;

struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A control window on a form. Handles belong to the form and go with it.
class Control {
  public:
    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    const std::string& Name() const { return name_; }
    platform::Hwnd Hwnd() const { return hwnd_; }
    TwipRect Bounds() const;
    void Move(const TwipRect& bounds);
    bool Visible() const { return platform::IsWindowVisible(hwnd_); }
    void SetVisible(bool visible) { platform::ShowWindow(hwnd_, visible); }
    bool Enabled() const { return platform::IsWindowEnabled(hwnd_); }
    void SetEnabled(bool enabled) { platform::EnableWindow(hwnd_, enabled); }
    void SetFocus() { platform::SetFocus(hwnd_); }
    bool HasFocus() const { return hwnd_ != 0 && platform::GetFocus() == hwnd_; }

  protected:
    friend class Form;
    virtual platform::ControlKind Kind() const = 0;
    virtual void Clicked() {}
    virtual void ContextMenuAsked(bool /*fromKeyboard*/) {}
    virtual void SelectAllAsked() {}
    Form* form_ = nullptr;

  private:
    std::string name_;
    platform::Hwnd hwnd_ = 0;
    int id_ = 0;
};

// A timer of a form: fires Timer every Interval milliseconds while Enabled and loaded.
class Timer {
  public:
    std::function<void()> Tick;
    int Interval() const { return interval_; }
    void SetInterval(int milliseconds);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

  private:
    friend class Form;
    void Apply();
    Form* form_ = nullptr;
    int id_ = 0;
    int interval_ = 0;
    bool enabled_ = false;
};

enum class ShowMode { Modeless, Modal };
enum class StartPosition { System, CenterOwner };

class Form : private platform::WindowEvents {
  public:
    explicit Form(std::string name);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    ~Form() override;

    // Creates the window and its controls (Design), then runs OnLoad. Once per window.
    void Load();
    // Loads when needed, then shows; modal: disables the owner and returns once unloaded.
    void Show(ShowMode mode = ShowMode::Modeless, Form* owner = nullptr);
    // Unless CanClose says no, runs OnUnload; then the window and its controls go.
    void Unload();
    bool IsLoaded() const { return hwnd_ != 0 && platform::IsWindow(hwnd_); }

    const std::string& Name() const { return name_; }
    platform::Hwnd Hwnd() const { return hwnd_; }
    std::string Caption() const { return platform::GetWindowText(hwnd_); }
    void SetCaption(const std::string& caption) { platform::SetWindowText(hwnd_, caption); }
    // The outer window, in twips.
    TwipRect Bounds() const;
    void Move(const TwipRect& bounds);
    int ScaleWidth() const;
    int ScaleHeight() const;
    platform::WindowState WindowState() const { return platform::GetWindowState(hwnd_); }
    void SetWindowState(platform::WindowState state) { platform::SetWindowState(hwnd_, state); }
    // The hourglass over the window while it is busy.
    void SetBusy(bool busy) { platform::SetWaitCursor(hwnd_, busy); }
    // The option buttons of the form: one group.
    std::vector<platform::Hwnd> OptionButtons() const;

  protected:
    virtual void Design() = 0;
    // After Design, before the form first shows: its texts and stored state.
    virtual void OnLoad() {}
    // Whether the form may close now; asked by Unload and the close box.
    virtual bool CanClose() { return true; }
    // As the form closes, while its controls are still there.
    virtual void OnUnload() {}
    // After the user or the program changed its size or state.
    virtual void OnResized() {}

    // Design-time settings of the window, for the constructor.
    void SetBorder(platform::BorderStyle border) { border_ = border; }
    void SetStartPosition(StartPosition position) { start_ = position; }
    // Design-time settings of the controls, for Design.
    void SetClientSize(int width, int height);
    void Add(Control& control, const std::string& name, const TwipRect& bounds);
    void Add(Timer& timer, int interval, bool enabled);
    // Enter presses `defaultButton`, Esc presses `cancelButton`; either may be null.
    void SetDialogButtons(const Control* defaultButton, const Control* cancelButton);
    // Tab order; the first control that can take the focus has it when the form shows.
    void SetTabOrder(const std::vector<Control*>& order);

  private:
    friend class Timer;
    void OnCommand(int controlId) override;
    void OnTimer(int timerId) override;
    void OnClose() override { Unload(); }
    void OnResize() override { OnResized(); }
    void OnContextMenu(int controlId, bool fromKeyboard) override;
    void OnSelectAll(int controlId) override;
    void FocusFirstControl();
    // Forgets the window and the controls' windows; returns the form's window.
    platform::Hwnd Detach();

    std::string name_;
    platform::Hwnd hwnd_ = 0;
    platform::Hwnd owner_ = 0;
    platform::BorderStyle border_ = platform::BorderStyle::Sizable;
    StartPosition start_ = StartPosition::System;
    std::vector<Control*> controls_;
    std::vector<Control*> tabOrder_;
    std::vector<Timer*> timers_;
    int nextId_ = 100;
};

// A fixed dialog centred on its owner: the program's dialogs and progress windows.
class Dialog : public Form {
  public:
    explicit Dialog(std::string name) : Form(std::move(name)) {
        SetBorder(platform::BorderStyle::FixedDialog);
        SetStartPosition(StartPosition::CenterOwner);
    }
};

}  // namespace forms
