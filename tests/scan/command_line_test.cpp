// The path a stored command line names: quotes, the two expanded folder words, the installer
// and DLL-host entries that name no file, and the blanks trimmed last.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app_state.h"
#include "scan/command_line.h"

namespace {

struct Case {
    std::string commandLine;
    std::string path;
};

class CommandLinePath : public ::testing::Test {
  protected:
    void SetUp() override {
        sWindowsFolder = "C:\\WINDOWS";
        sProgramFilesFolder = "C:\\Program Files";
    }
    void TearDown() override {
        sWindowsFolder.clear();
        sProgramFilesFolder.clear();
    }
    static void ExpectPaths(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            SCOPED_TRACE("command line [" + c.commandLine + "]");
            const std::string input = c.commandLine;
            EXPECT_EQ(GetPathFromCommandLine(input), c.path);
            EXPECT_EQ(input, c.commandLine) << "the argument stays as it was";
        }
    }
};

TEST_F(CommandLinePath, QuotesEndThePathAndArgumentsOfUnquotedLinesStay) {
    ExpectPaths({
        {"\"C:\\Program Files\\App\\uninst.exe\" /S", "C:\\Program Files\\App\\uninst.exe"},
        {"\"C:\\Program Files\\App\\uninst.exe\"", "C:\\Program Files\\App\\uninst.exe"},
        {"C:\\App\\app.exe \"C:\\App\\data.ini\"", "C:\\App\\app.exe"},
        {"C:\\PROGRA~1\\App\\app.exe /background", "C:\\PROGRA~1\\App\\app.exe /background"},
        {"C:\\App\\app.exe /min", "C:\\App\\app.exe /min"},
        {"\"", ""},
        {"\"\"", ""},
        {"", ""},
        {"\"  \"", ""},
    });
}

TEST_F(CommandLinePath, OnlyTheTwoFolderWordsExpandAndOnlyInTheirOwnCase) {
    ExpectPaths({
        {"%SystemRoot%\\system32\\tool.exe -x", "C:\\WINDOWS\\system32\\tool.exe -x"},
        {"%systemroot%\\system32\\tool.exe", "%systemroot%\\system32\\tool.exe"},
        {"%SYSTEMROOT%\\system32\\tool.exe", "%SYSTEMROOT%\\system32\\tool.exe"},
        {"%ProgramFiles%\\App\\app.exe", "C:\\Program Files\\App\\app.exe"},
        {"%programfiles%\\App\\app.exe", "%programfiles%\\App\\app.exe"},
        {"%windir%\\notepad.exe", "%windir%\\notepad.exe"},
        {"%CommonProgramFiles%\\x.dll", "%CommonProgramFiles%\\x.dll"},
        {"%SystemRoot%\\a.exe %SystemRoot%\\b.ini", "C:\\WINDOWS\\a.exe C:\\WINDOWS\\b.ini"},
        {"\"%ProgramFiles%\\App\\app.exe\" -q", "C:\\Program Files\\App\\app.exe"},
    });
}

TEST_F(CommandLinePath, TheInstallerAndTheDllHostNameNothingToTest) {
    ExpectPaths({
        {"MsiExec.exe /X{6A4F1D12-0B51-4E3C-9A7D-2F0C41E5B8A3}", ""},
        {"\"MsiExec.exe\" /I{6A4F1D12-0B51-4E3C-9A7D-2F0C41E5B8A3}", ""},
        {"msiexec.exe", ""},
        {"MSIEXEC.EXE /x", ""},
        {"msiexec /x{6A4F1D12}", "msiexec /x{6A4F1D12}"},
        {"RunDll32.exe shell32.dll,Control_RunDLL x.cpl", ""},
        {"rundll32 x.dll,Entry", ""},
        {"RUNDLL32X.EXE", ""},
        {"C:\\WINDOWS\\system32\\rundll32.exe x.dll,Entry",
         "C:\\WINDOWS\\system32\\rundll32.exe x.dll,Entry"},
        {"  msiexec.exe /x{6A4F1D12}", "msiexec.exe /x{6A4F1D12}"},
    });
}

TEST_F(CommandLinePath, OnlyBlanksAreTrimmedAndOnlyAtTheEnds) {
    ExpectPaths({
        {"  C:\\App\\app.exe  ", "C:\\App\\app.exe"},
        {"\tC:\\App\\app.exe\t", "\tC:\\App\\app.exe\t"},
        {"   ", ""},
    });
}

TEST_F(CommandLinePath, TheFoldersAreTakenAsStartUpLeftThem) {
    sWindowsFolder = "D:\\WINNT";
    sProgramFilesFolder.clear();
    ExpectPaths({
        {"%SystemRoot%\\tool.exe", "D:\\WINNT\\tool.exe"},
        {"%ProgramFiles%\\App\\app.exe", "\\App\\app.exe"},
    });
}

}  // namespace
