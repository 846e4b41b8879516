// Message boxes, letting pending events run, and the screen's measures.
#pragma once

#include <string>

namespace forms {

// The buttons of a message box, and its answers; the values are the system's codes.
enum class Buttons { Ok = 0, OkCancel = 1, YesNo = 4 };
enum class Answer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };
enum class Icon { None = 0, Warning = 48 };

// Shows a modal message box over the active window and returns the answer. An empty title
// is the program's.
Answer ShowMessage(const std::string& text, const std::string& title = "",
                   Buttons buttons = Buttons::Ok, Icon icon = Icon::None);

// Lets the user interface process pending events, then returns.
void RunPendingEvents();
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

}  // namespace forms
