// Windows' names, for a test's driver: an atom in a window property, removed with the
// window. A subclass sees WM_NCDESTROY for forms and the system's controls alike.
#include "platform/win32/window/window_internal.h"

namespace platform::win32 {
namespace {

constexpr wchar_t kNameProperty[] = L"PurgelintName";
constexpr UINT_PTR kNameSubclass = 1;

LRESULT CALLBACK ForgetName(HWND window, UINT message, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (message == WM_NCDESTROY) {
        const auto atom =
            static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(::RemovePropW(window, kNameProperty)));
        if (atom) ::DeleteAtom(atom);
        ::RemoveWindowSubclass(window, ForgetName, kNameSubclass);
    }
    return ::DefSubclassProc(window, message, wp, lp);
}

}  // namespace

void SetName(HWND window, const std::string& name) {
    const ATOM atom = ::AddAtomW(Wide(name).c_str());
    if (!atom) return;  // the window goes unnamed: tests cannot find it, the program runs on
    if (!::SetWindowSubclass(window, ForgetName, kNameSubclass, 0) ||
        !::SetPropW(window, kNameProperty, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(atom))))
        ::DeleteAtom(atom);
}

}  // namespace platform::win32
