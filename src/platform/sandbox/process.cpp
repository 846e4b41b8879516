// The sandbox's processes: every start is recorded and decided at once by the test's
// handler (the REG stand-in by default); nothing runs beside the program.
#include <stdexcept>

#include "platform/errors.h"
#include "platform/process.h"
#include "platform/sandbox/machine.h"
#include "platform/sandbox/sandbox.h"

namespace platform {
namespace {

using sandbox::TheMachine;

constexpr std::uint32_t kStillActive = 259;
constexpr std::uint32_t kInfinite = 0xFFFFFFFF;

// The process behind an open handle, or null.
sandbox::SandboxProcess* Find(const ProcessHandle& process) {
    auto& processes = TheMachine().processes;
    const auto it = processes.find(process.get());
    return it == processes.end() || it->second.handleClosed ? nullptr : &it->second;
}

}  // namespace

void CloseProcessHandle(std::uintptr_t handle) {
    auto& processes = TheMachine().processes;
    if (const auto it = processes.find(handle); it != processes.end())
        it->second.handleClosed = true;
}

void CloseMutexHandle(std::uintptr_t handle) {
    auto& mutexes = TheMachine().mutexes;
    if (const auto it = mutexes.find(handle); it != mutexes.end()) mutexes.erase(it);
}

// The names are compared as given: Windows compares them with their letter case too.
long CreateNamedMutex(const std::string& name, MutexHandle& mutex) {
    mutex.reset();
    auto& machine = TheMachine();
    bool held = false;
    for (const auto& [handle, heldName] : machine.mutexes)
        held = held || heldName == name;
    const std::uintptr_t handle = machine.nextProcessHandle++;
    machine.mutexes[handle] = name;
    mutex.reset(handle);
    return held ? kErrorAlreadyExists : kErrorSuccess;
}

long StartProcess(const std::string& commandLine, ProcessHandle& process, ProcessWindow) {
    process.reset();
    auto& machine = TheMachine();
    machine.startedProcesses.push_back(commandLine);
    // A copy: the handler may replace itself.
    const sandbox::ProcessHandler handler = machine.processHandler;
    const sandbox::ProcessOutcome outcome =
        handler ? handler(commandLine) : sandbox::RunRegTool(commandLine);
    if (outcome.startError != kErrorSuccess) return outcome.startError;
    const std::uintptr_t handle = machine.nextProcessHandle++;
    machine.processes[handle] = {outcome.neverEnds,
                                 outcome.neverEnds ? kStillActive : outcome.exitCode};
    process.reset(handle);
    return kErrorSuccess;
}

// The wait costs virtual time only: a process that never ends times out at once, with the
// clock moved on by the time the caller was prepared to wait.
std::uint32_t WaitForSingleObject(const ProcessHandle& process, std::uint32_t milliseconds) {
    const sandbox::SandboxProcess* found = Find(process);
    if (!found) return kWaitFailed;
    if (!found->running) return kWaitObject0;
    if (milliseconds == kInfinite)
        throw std::logic_error("sandbox: an endless wait on a process that never ends");
    TheMachine().ui.now += milliseconds;
    return kWaitTimeout;
}

bool GetExitCodeProcess(const ProcessHandle& process, std::uint32_t& exitCode) {
    const sandbox::SandboxProcess* found = Find(process);
    if (!found) return false;
    exitCode = found->exitCode;
    return true;
}

// As on Windows, a process that has already ended cannot be terminated.
bool TerminateProcess(const ProcessHandle& process, std::uint32_t exitCode) {
    sandbox::SandboxProcess* found = Find(process);
    if (!found || !found->running) return false;
    found->running = false;
    found->exitCode = exitCode;
    return true;
}

}  // namespace platform

namespace sandbox {

void OnProcessStart(ProcessHandler handler) {
    TheMachine().processHandler = std::move(handler);
}

const std::vector<std::string>& StartedProcesses() {
    return TheMachine().startedProcesses;
}

std::size_t RunningProcesses() {
    std::size_t running = 0;
    for (const auto& [handle, process] : TheMachine().processes)
        if (process.running) ++running;
    return running;
}

}  // namespace sandbox
