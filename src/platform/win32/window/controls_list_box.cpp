// The list box: one column of texts, one selected.
#include "platform/win32/window/window_internal.h"

namespace platform {

using win32::Send;

int ListBoxAddString(Hwnd list, const std::string& text) {
    const std::wstring wide = win32::Wide(text);
    return static_cast<int>(Send(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str())));
}

int ListBoxGetCount(Hwnd list) {
    return static_cast<int>(Send(list, LB_GETCOUNT));
}

std::string ListBoxGetText(Hwnd list, int index) {
    const LRESULT length = Send(list, LB_GETTEXTLEN, index);
    if (length == LB_ERR) return {};
    std::wstring text(length + 1, L'\0');
    const LRESULT copied = Send(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : copied);
    return win32::Narrow(text);
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
