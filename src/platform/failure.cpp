// The failure report and the nesting of modal loops, shared by both backends. Everything
// here runs on the UI thread.
#include "platform/failure.h"

#include <cstdio>
#include <exception>
#include <utility>
#include <vector>

namespace platform {
namespace {

FailureReport report;
std::vector<bool> loopFailed;  // per modal loop running, the innermost last

std::string CurrentExceptionText() {
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown exception";
    }
}

// `event` may be null.
void Report(const std::string& where, const char* event) noexcept {
    try {
        std::string line = "Error in " + where;
        if (event) line += std::string(" ") + event;
        line += ": " + CurrentExceptionText();
        if (report) {
            report(line);
        } else {
            std::fprintf(stderr, "%s\n", line.c_str());
        }
    } catch (...) {
        // The report itself failed (out of memory, a log that threw): there is nowhere
        // left to tell, and the boundary must hold.
    }
}

}  // namespace

FailureReport SetFailureReport(FailureReport next) {
    return std::exchange(report, std::move(next));
}

void ReportCurrentException(const std::string& where) noexcept {
    Report(where, nullptr);
}

namespace detail {

void HandlerFailed(const std::string& form, const char* event) noexcept {
    Report(form, event);
    if (!loopFailed.empty()) loopFailed.back() = true;
}

}  // namespace detail

ModalLoopScope::ModalLoopScope() : index_(static_cast<int>(loopFailed.size())) {
    loopFailed.push_back(false);
}

ModalLoopScope::~ModalLoopScope() {
    loopFailed.pop_back();
}

bool ModalLoopScope::HandlerFailed() const {
    return loopFailed[index_];
}

}  // namespace platform
