// Drives the user interface from outside, as a user would: on the sandbox through its
// script, on Windows from another thread through window messages.
#pragma once

#include <string>

#include "platform/window.h"

namespace driver {

enum class Key { Enter, Esc };

void Prepare();  // a fresh sandbox machine; nothing to do on Windows
// Each action waits until the form is shown, and for the actions given before it.
void ClickWhenShown(const std::string& form, const std::string& control);
void PressWhenShown(const std::string& form, Key key);
void CloseWhenShown(const std::string& form);
void AnswerNextMessageBox(int answer);  // an ID* code
// Whether a form or control of these names is still known (on Windows: their atoms).
bool NameHeld(const std::string& form, const std::string& control);
// WM_DPICHANGED with `suggested`; false where there are no such screens (the sandbox).
bool MoveToScreenOfDpi(platform::Hwnd form, int dpi, const platform::PixelRect& suggested);
int FontPixelHeight(platform::Hwnd control);  // 0 where fonts have no pixels (the sandbox)
// Waits until every action given has been carried out; false if one never could be.
bool Finish();

}  // namespace driver
