// Message boxes, letting pending events run, and the screen's measures.
#pragma once

#include <string>

namespace ui {

// Button and icon codes of a message box, and its answers.
constexpr int vbOKOnly = 0;
constexpr int vbOKCancel = 1;
constexpr int vbYesNo = 4;
constexpr int vbExclamation = 48;
constexpr int vbOK = 1;
constexpr int vbCancel = 2;
constexpr int vbYes = 6;
constexpr int vbNo = 7;

// The title of a message box that names none.
inline const std::string kAppTitle = "Tallowquince Purgelint";

// Shows a modal message box over the active window and returns the answer.
int MsgBox(const std::string& prompt, int buttons = vbOKOnly, const std::string& title = "");

// Lets the user interface process pending events, then returns.
void DoEvents();
// Whether a long job's progress is due to be shown again (and events to run): a job that
// looks at thousands of items a second shows them at the pace a screen can take.
bool ProgressRefreshDue();

struct Screen {
    static int TwipsPerPixelX();
    static int TwipsPerPixelY();
    static int Width();  // twips
    static int Height();
    // Twips to whole screen pixels, to the nearest.
    static int ToPixelsX(int twips);
    static int ToPixelsY(int twips);
};

}  // namespace ui
