// The list box: one column of texts, one selected.
#include "platform/win32/window/window_internal.h"

namespace platform {

using win32::Send;

int ListBoxAddString(Hwnd list, const std::string& text) {
    return static_cast<int>(Send(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int ListBoxGetCount(Hwnd list) {
    return static_cast<int>(Send(list, LB_GETCOUNT));
}

std::string ListBoxGetText(Hwnd list, int index) {
    const LRESULT length = Send(list, LB_GETTEXTLEN, index);
    if (length == LB_ERR) return {};
    std::string text(length + 1, '\0');
    text.resize(Send(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data())));
    return text;
}

int ListBoxGetCurSel(Hwnd list) {
    return static_cast<int>(Send(list, LB_GETCURSEL));
}

void ListBoxSetCurSel(Hwnd list, int index) {
    Send(list, LB_SETCURSEL, index);
}

void ListBoxResetContent(Hwnd list) {
    Send(list, LB_RESETCONTENT);
}

}  // namespace platform
