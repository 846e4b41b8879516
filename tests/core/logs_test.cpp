// The two logs: plain CRLF lines, appended, and silent when they cannot be written.
#include "core/logs.h"
#include "support/sandbox_test.h"

namespace {

using Logs = SandboxTest;

TEST_F(Logs, EachCallAppendsOneLineToItsOwnFile) {
    WriteAppLog("Program started 12/7/2026 with params: ");
    WriteAppLog("");
    WriteAppLog(".. performing scheduled run");
    WriteLog("Error: DeleteRegistryValue: valuename is empty");
    EXPECT_EQ(ReadAppFile("app.log"),
              "Program started 12/7/2026 with params: \r\n\r\n.. performing scheduled run\r\n");
    EXPECT_EQ(ReadAppFile("log.txt"), "Error: DeleteRegistryValue: valuename is empty\r\n");
}

TEST_F(Logs, AnUnwritableFolderLosesTheLineSilently) {
    sandbox::DenyWrites(kAppFolder);
    WriteAppLog("lost");
    WriteLog("lost too");
    EXPECT_EQ(ReadAppFile("app.log"), "<none>");
    EXPECT_EQ(ReadAppFile("log.txt"), "<none>");
}

}  // namespace
