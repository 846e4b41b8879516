// Starting programs through CreateProcessW and waiting for them through the wait functions.
#include <windows.h>

#include <string>

#include "platform/errors.h"
#include "platform/process.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace platform {
namespace {

HANDLE Native(const ProcessHandle& process) {
    return reinterpret_cast<HANDLE>(process.get());
}

}  // namespace

void CloseProcessHandle(std::uintptr_t handle) {
    ::CloseHandle(reinterpret_cast<HANDLE>(handle));
}

void CloseMutexHandle(std::uintptr_t handle) {
    ::CloseHandle(reinterpret_cast<HANDLE>(handle));
}

long CreateNamedMutex(const std::string& name, MutexHandle& mutex) {
    mutex.reset();
    const HANDLE handle = ::CreateMutexW(nullptr, FALSE, win32::Wide(name).c_str());
    const long error = static_cast<long>(::GetLastError());
    if (!handle) return error;
    mutex.reset(reinterpret_cast<std::uintptr_t>(handle));
    return error == ERROR_ALREADY_EXISTS ? kErrorAlreadyExists : kErrorSuccess;
}

long StartProcess(const std::string& commandLine, ProcessHandle& process, ProcessWindow window) {
    process.reset();
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    const bool hidden = window == ProcessWindow::None;
    startup.wShowWindow = hidden ? SW_HIDE : SW_SHOWMINIMIZED;
    PROCESS_INFORMATION started = {};
    // CreateProcessW may write into the command line: it gets a copy of its own.
    std::wstring line = win32::Wide(commandLine);
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE,
                          hidden ? CREATE_NO_WINDOW : 0, nullptr, nullptr, &startup, &started))
        return static_cast<long>(::GetLastError());
    const win32::UniqueHandle thread(started.hThread);  // nobody waits on the thread
    process.reset(reinterpret_cast<std::uintptr_t>(started.hProcess));
    return kErrorSuccess;
}

std::uint32_t WaitForSingleObject(const ProcessHandle& process, std::uint32_t milliseconds) {
    return ::WaitForSingleObject(Native(process), milliseconds);
}

bool GetExitCodeProcess(const ProcessHandle& process, std::uint32_t& exitCode) {
    DWORD code = 0;
    if (!::GetExitCodeProcess(Native(process), &code)) return false;
    exitCode = code;
    return true;
}

bool TerminateProcess(const ProcessHandle& process, std::uint32_t exitCode) {
    return ::TerminateProcess(Native(process), exitCode) != FALSE;
}

}  // namespace platform
