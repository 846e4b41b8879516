// The shell's link object (CLSID_ShellLink): IShellLinkW for the fields, a fresh
// IPersistFile view of it for each load and save. Texts cross in UTF-8.
#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <string>
#include <string_view>

#include "platform/shelllink.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace platform {

using Microsoft::WRL::ComPtr;

struct ShellLink::Impl {
    ComPtr<IShellLinkW> link;
};

namespace {

// Runs `call` on an IPersistFile view of the link, released when the call returns.
template <typename Call>
HResult WithPersistFile(IShellLinkW& link, Call call) {
    ComPtr<IPersistFile> file;
    const HRESULT hr = link.QueryInterface(IID_PPV_ARGS(&file));
    return FAILED(hr) ? hr : call(*file.Get());
}

// A text getter into a 260-character buffer; the text is taken up to its first NUL.
template <typename Get>
HResult GetText(std::string& text, Get get) {
    wchar_t buffer[MAX_PATH] = {};
    const HRESULT hr = get(buffer, static_cast<int>(MAX_PATH));
    if (SUCCEEDED(hr)) text = win32::NarrowUpToNul(buffer, MAX_PATH);
    return hr;
}

// The target's path as the link's ID list names it; empty when it names no file system path.
std::wstring IdListPath(IShellLinkW& link) {
    PIDLIST_ABSOLUTE list = nullptr;
    const HRESULT hr = link.GetIDList(&list);
    const win32::UniqueCoTaskMemory owner(list);
    if (hr != S_OK || !list) return {};
    wchar_t path[MAX_PATH] = {};
    return ::SHGetPathFromIDListW(list, path) ? std::wstring(path) : std::wstring();
}

// Whether `path` is `truePath` with letters beyond ASCII changed (to "?" or a look-alike) and
// nothing else: what a trip through an ANSI code page makes of a path.
bool LostLettersOf(std::wstring_view path, std::wstring_view truePath) {
    if (path.size() != truePath.size() || path == truePath) return false;
    for (std::size_t i = 0; i < path.size(); ++i)
        if (path[i] != truePath[i] && truePath[i] < 0x80) return false;
    return true;
}

}  // namespace

ShellLink::ShellLink(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
ShellLink::~ShellLink() = default;

HResult ShellLink::Instance(ShellLink*& link) {
    static ShellLink* theLink = nullptr;  // lives as long as the run, never released
    if (!theLink) {
        auto impl = std::make_unique<Impl>();
        const HRESULT hr = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                              IID_PPV_ARGS(&impl->link));
        if (FAILED(hr)) {
            link = nullptr;
            return hr;
        }
        theLink = new ShellLink(std::move(impl));
    }
    link = theLink;
    return S_OK;
}

HResult ShellLink::Load(const std::string& file, std::uint32_t mode) {
    return WithPersistFile(*impl_->link.Get(), [&](IPersistFile& persist) {
        return persist.Load(win32::Wide(file).c_str(), mode);
    });
}

// Wine's link object keeps a loaded shortcut's path in the ANSI code page (it reads the link
// information's ANSI path only), so letters beyond it come back as "?" or a look-alike, and a
// working shortcut would seem broken, or a broken one would seem to lead to its look-alike.
// Its ID list keeps them: when GetPath's path is the ID list's but for such letters, the ID
// list's is the true one. Windows gives both alike, and any other difference (a UNC path, an
// expanded variable) leaves GetPath's answer as it is.
HResult ShellLink::GetPath(std::string& path, std::uint32_t flags) {
    return GetText(path, [&](wchar_t* buffer, int size) {
        WIN32_FIND_DATAW scratch;
        const HRESULT hr = impl_->link->GetPath(buffer, size, &scratch, flags);
        if (hr != S_OK) return hr;
        const std::wstring truePath = IdListPath(*impl_->link.Get());
        if (static_cast<int>(truePath.size()) < size &&
            LostLettersOf(std::wstring_view(buffer), truePath))
            truePath.copy(buffer, truePath.size());
        return hr;
    });
}

HResult ShellLink::GetDescription(std::string& description) {
    return GetText(description, [&](wchar_t* buffer, int size) {
        return impl_->link->GetDescription(buffer, size);
    });
}

HResult ShellLink::GetArguments(std::string& arguments) {
    return GetText(arguments, [&](wchar_t* buffer, int size) {
        return impl_->link->GetArguments(buffer, size);
    });
}

HResult ShellLink::GetHotkey(std::uint16_t& hotkey) {
    WORD key = 0;
    const HRESULT hr = impl_->link->GetHotkey(&key);
    if (SUCCEEDED(hr)) hotkey = key;
    return hr;
}

HResult ShellLink::GetIconLocation(std::string& iconPath, long& iconIndex) {
    int index = 0;
    const HRESULT hr = GetText(iconPath, [&](wchar_t* buffer, int size) {
        return impl_->link->GetIconLocation(buffer, size, &index);
    });
    if (SUCCEEDED(hr)) iconIndex = index;
    return hr;
}

HResult ShellLink::GetWorkingDirectory(std::string& folder) {
    return GetText(folder, [&](wchar_t* buffer, int size) {
        return impl_->link->GetWorkingDirectory(buffer, size);
    });
}

HResult ShellLink::GetShowCmd(long& showCommand) {
    int command = 0;
    const HRESULT hr = impl_->link->GetShowCmd(&command);
    if (SUCCEEDED(hr)) showCommand = command;
    return hr;
}

HResult ShellLink::SetPath(const std::string& path) {
    return impl_->link->SetPath(win32::Wide(path).c_str());
}

HResult ShellLink::Resolve(std::uint32_t flags) {
    return impl_->link->Resolve(nullptr, flags);
}

HResult ShellLink::Save(const std::string& file, bool remember) {
    return WithPersistFile(*impl_->link.Get(), [&](IPersistFile& persist) {
        return persist.Save(win32::Wide(file).c_str(), remember);
    });
}

}  // namespace platform
