// Starting other programs and waiting for them, shaped after CreateProcessW and the wait
// functions: same arguments where they matter, same result codes.
#pragma once

#include <cstdint>
#include <string>

#include "base/unique_any.h"

namespace platform {

constexpr std::uint32_t kWaitObject0 = 0;
constexpr std::uint32_t kWaitTimeout = 258;
constexpr std::uint32_t kWaitFailed = 0xFFFFFFFF;

// CloseHandle of a process; the system's code leaves it to ProcessHandle.
void CloseProcessHandle(std::uintptr_t handle);
struct ProcessHandleTraits {
    using Type = std::uintptr_t;
    static Type Invalid() { return 0; }
    static void Close(Type handle) { CloseProcessHandle(handle); }
};
// The one owner of a started process.
using ProcessHandle = base::UniqueAny<ProcessHandleTraits>;

// How a started console program shows itself.
enum class ProcessWindow {
    Minimized,  // shown minimized and active (SW_SHOWMINIMIZED)
    None,       // no console window at all (CREATE_NO_WINDOW): nothing takes the focus
};
// CreateProcessW of a whole command line; returns at once. ERROR_SUCCESS with the process in
// `process`, or the failure (ERROR_FILE_NOT_FOUND when the program is not there ...).
long StartProcess(const std::string& commandLine, ProcessHandle& process,
                  ProcessWindow window = ProcessWindow::Minimized);
// WaitForSingleObject on the process: kWaitObject0 once it has ended, kWaitTimeout when it
// still runs after `milliseconds`, kWaitFailed.
std::uint32_t WaitForSingleObject(const ProcessHandle& process, std::uint32_t milliseconds);
// GetExitCodeProcess: true with the code (259, STILL_ACTIVE, while it runs).
bool GetExitCodeProcess(const ProcessHandle& process, std::uint32_t& exitCode);
// TerminateProcess: ends the process with `exitCode`.
bool TerminateProcess(const ProcessHandle& process, std::uint32_t exitCode);

// CloseHandle of a mutex; the system's code leaves it to MutexHandle.
void CloseMutexHandle(std::uintptr_t handle);
struct MutexHandleTraits {
    using Type = std::uintptr_t;
    static Type Invalid() { return 0; }
    static void Close(Type handle) { CloseMutexHandle(handle); }
};
// The one owner of a named mutex: the name is held as long as some handle to it is open.
using MutexHandle = base::UniqueAny<MutexHandleTraits>;
// CreateMutexW of a named mutex of the session, not owned: ERROR_SUCCESS when the name was
// free, ERROR_ALREADY_EXISTS when another handle holds it (the handle is opened either way),
// or why it could not be made.
long CreateNamedMutex(const std::string& name, MutexHandle& mutex);

}  // namespace platform
