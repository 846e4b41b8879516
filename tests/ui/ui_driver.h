// Drives the user interface from outside, as a user would: on the sandbox through its
// script, on Windows from another thread through window messages.
#pragma once

#include <string>

#include "platform/window.h"

namespace driver {

enum class Action { Click, Enter, Esc, Close };

void Prepare();  // a fresh sandbox machine; nothing to do on Windows
// Once the form is shown and the actions given before are done: clicks its `control`, presses a
// key where the keyboard's would go (to the control that has the focus) or its close box.
void WhenShown(const std::string& form, Action action, const std::string& control = "");
void AnswerNextMessageBox(int answer);  // an ID* code
// WM_DPICHANGED with `suggested`; false where there are no such screens (the sandbox).
bool MoveToScreenOfDpi(platform::Hwnd form, int dpi, const platform::PixelRect& suggested);
int FontPixelHeight(platform::Hwnd control);  // 0 where fonts have no pixels (the sandbox)
// Waits until every action given has been carried out; false if one never could be.
bool Finish();

}  // namespace driver
