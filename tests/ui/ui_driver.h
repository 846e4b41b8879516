// Drives the user interface from outside, as a user would: on the sandbox through its
// script, on Windows from another thread through window messages.
#pragma once

#include <string>

#include "platform/window.h"

namespace driver {

// A fresh machine (sandbox) or nothing to do (Windows).
void Prepare();
// Clicks the control once its form is shown.
void ClickWhenShown(const std::string& form, const std::string& control);
// Presses the close box of the form once it is shown.
void CloseWhenShown(const std::string& form);
// Answers the next message box with the button `answer` (an ID* code).
void AnswerNextMessageBox(int answer);
// Whether a window of the form's name, or a control of that name, is still known: on
// Windows, whether the atoms of their names are still held.
bool NameHeld(const std::string& form, const std::string& control);
// Tells the form, as Windows does when it moves to another screen, that it now stands at
// `dpi` dots per inch and may take `suggested`; false where there are no such screens (the
// sandbox).
bool MoveToScreenOfDpi(platform::Hwnd form, int dpi, const platform::PixelRect& suggested);
// A control's font height in pixels; 0 where fonts have no pixels (the sandbox).
int FontPixelHeight(platform::Hwnd control);
// Waits until every action given has been carried out; false if one never could be.
bool Finish();

}  // namespace driver
