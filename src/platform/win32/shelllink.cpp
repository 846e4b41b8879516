// The shell's link object (CLSID_ShellLink): IShellLinkA for the fields, a fresh
// IPersistFile view of it for each load and save.
#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include "platform/shelllink.h"
#include "platform/win32/wide.h"

namespace platform {

using Microsoft::WRL::ComPtr;

struct ShellLink::Impl {
    ComPtr<IShellLinkA> link;
};

namespace {

// Runs `call` on an IPersistFile view of the link, released when the call returns.
template <typename Call>
HResult WithPersistFile(IShellLinkA& link, Call call) {
    ComPtr<IPersistFile> file;
    const HRESULT hr = link.QueryInterface(IID_PPV_ARGS(&file));
    return FAILED(hr) ? hr : call(*file.Get());
}

// A text getter into a 260-character buffer; the text is taken up to its first NUL.
template <typename Get>
HResult GetText(std::string& text, Get get) {
    char buffer[MAX_PATH] = {};
    const HRESULT hr = get(buffer, static_cast<int>(MAX_PATH));
    if (SUCCEEDED(hr)) text.assign(buffer, strnlen(buffer, MAX_PATH));
    return hr;
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

HResult ShellLink::GetPath(std::string& path, std::uint32_t flags) {
    return GetText(path, [&](char* buffer, int size) {
        WIN32_FIND_DATAA scratch;
        return impl_->link->GetPath(buffer, size, &scratch, flags);
    });
}

HResult ShellLink::GetDescription(std::string& description) {
    return GetText(description, [&](char* buffer, int size) {
        return impl_->link->GetDescription(buffer, size);
    });
}

HResult ShellLink::GetArguments(std::string& arguments) {
    return GetText(arguments,
                   [&](char* buffer, int size) { return impl_->link->GetArguments(buffer, size); });
}

HResult ShellLink::GetHotkey(std::uint16_t& hotkey) {
    WORD key = 0;
    const HRESULT hr = impl_->link->GetHotkey(&key);
    if (SUCCEEDED(hr)) hotkey = key;
    return hr;
}

HResult ShellLink::GetIconLocation(std::string& iconPath, long& iconIndex) {
    int index = 0;
    const HRESULT hr = GetText(iconPath, [&](char* buffer, int size) {
        return impl_->link->GetIconLocation(buffer, size, &index);
    });
    if (SUCCEEDED(hr)) iconIndex = index;
    return hr;
}

HResult ShellLink::GetWorkingDirectory(std::string& folder) {
    return GetText(folder, [&](char* buffer, int size) {
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
    return impl_->link->SetPath(path.c_str());
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
