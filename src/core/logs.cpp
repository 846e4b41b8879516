#include "core/logs.h"

#include "platform/application.h"
#include "platform/filesystem.h"

namespace core {

namespace {

void AppendLine(const char* fileName, const std::string& text) {
    // Logging must never stop the program: a failed append is dropped on purpose.
    platform::AppendToFile(platform::ApplicationFolder() + "\\" + fileName, text + "\r\n");
}

}  // namespace

void WriteLog(const std::string& text) {
    AppendLine("log.txt", text);
}

void WriteAppLog(const std::string& text) {
    AppendLine("app.log", text);
}

}  // namespace core
