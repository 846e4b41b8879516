// Windows' names, for a test's driver: an atom in a window property. A form removes its own
// and its controls' names as it is destroyed. (A subclass of each window would see its own
// WM_NCDESTROY, but under Wine every message through a subclass reads a window property from
// the server: an owner-data list view's state messages took a hundred times longer.)
#include "platform/win32/window/window_internal.h"

namespace platform::win32 {
namespace {

constexpr wchar_t kNameProperty[] = L"PurgelintName";

BOOL CALLBACK ForgetName(HWND window, LPARAM) {
    const auto atom =
        static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(::RemovePropW(window, kNameProperty)));
    if (atom) ::DeleteAtom(atom);
    return TRUE;
}

}  // namespace

void SetName(HWND window, const std::string& name) {
    const ATOM atom = ::AddAtomW(Wide(name).c_str());
    if (!atom) return;  // the window goes unnamed: tests cannot find it, the program runs on
    if (!::SetPropW(window, kNameProperty, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(atom))))
        ::DeleteAtom(atom);
}

void ForgetNames(HWND form) {
    ForgetName(form, 0);
    ::EnumChildWindows(form, ForgetName, 0);
}

}  // namespace platform::win32
