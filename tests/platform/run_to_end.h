// Starts a command line and waits for it, for tests on either backend.
#pragma once

#include <cstdint>
#include <string>

#include "platform/errors.h"
#include "platform/process.h"

// "exit <code>" once the process has ended, or how it went wrong: "start error <code>",
// "wait <result>" when it was still running after a minute (it is then ended).
inline std::string RunToEnd(const std::string& commandLine) {
    platform::ProcessHandle process;
    if (const long error = platform::StartProcess(commandLine, process);
        error != platform::kErrorSuccess)
        return "start error " + std::to_string(error);
    if (const auto wait = platform::WaitForSingleObject(process, 60'000);
        wait != platform::kWaitObject0) {
        platform::TerminateProcess(process, 1);
        return "wait " + std::to_string(wait);
    }
    std::uint32_t code = 0;
    if (!platform::GetExitCodeProcess(process, code)) return "no exit code";
    return "exit " + std::to_string(code);
}
