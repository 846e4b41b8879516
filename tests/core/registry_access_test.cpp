// Single registry values: reading as text, writing strings, deleting named values.
#include "core/registry_access.h"
#include "platform/errors.h"
#include "support/sandbox_test.h"

using namespace platform;

namespace {

constexpr const char* kKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\tool.exe";

class RegistryAccess : public SandboxTest {
  protected:
    static std::string Stored(const std::string& name) {
        const auto value = sandbox::GetValue(kHkeyLocalMachine, kKey, name);
        return value ? value->data : "<absent>";
    }
};

TEST_F(RegistryAccess, RootNamesFollowTheTable) {
    EXPECT_EQ(GetRootKeyName(kHkeyClassesRoot), "HKCR");
    EXPECT_EQ(GetRootKeyName(kHkeyCurrentUser), "HKCU");
    EXPECT_EQ(GetRootKeyName(kHkeyLocalMachine), "HKLM");
    EXPECT_EQ(GetRootKeyName(kHkeyUsers), "HKU");
    EXPECT_EQ(GetRootKeyName(kHkeyCurrentConfig), "HKCC");
    EXPECT_EQ(GetRootKeyName(kHkeyPerformanceData), "");
    EXPECT_EQ(GetRootKeyName(0), "");
}

TEST_F(RegistryAccess, WrittenTextReadsBackWhole) {
    sandbox::CreateKey(kHkeyLocalMachine, kKey);
    EXPECT_TRUE(ChangeRegistryValue(kHkeyLocalMachine, kKey, "Path", "C:\\Tools\\tool.exe"));
    EXPECT_EQ(Stored("Path"), std::string("C:\\Tools\\tool.exe") + '\0');
    EXPECT_EQ(ReadRegistryValue(kHkeyLocalMachine, kKey, "path"), "C:\\Tools\\tool.exe");

    EXPECT_TRUE(ChangeRegistryValue(kHkeyLocalMachine, kKey, "", ""));
    EXPECT_EQ(Stored(""), std::string(1, '\0')) << "the empty text is the NUL alone";
    EXPECT_EQ(ReadRegistryValue(kHkeyLocalMachine, kKey, ""), "");

    sandbox::SetValue(kHkeyLocalMachine, kKey, "Count", kRegDword, std::string("\x05\0\0\0", 4));
    EXPECT_TRUE(ChangeRegistryValue(kHkeyLocalMachine, kKey, "Count", "5"));
    EXPECT_EQ(sandbox::GetValue(kHkeyLocalMachine, kKey, "Count")->type, kRegSz);
    EXPECT_EQ(ReadAppFile("log.txt"), "<none>");
}

TEST_F(RegistryAccess, ReadsKeepTheLastCharacterOfStringsStoredWithoutNul) {
    sandbox::SetValue(kHkeyLocalMachine, kKey, "NoNul", kRegSz, "C:\\Tools\\tool.exe");
    sandbox::SetValue(kHkeyLocalMachine, kKey, "Zero", kRegSz, "");
    sandbox::SetValue(kHkeyLocalMachine, kKey, "Fits", kRegSz, std::string(1023, 'a') + '\0');
    sandbox::SetValue(kHkeyLocalMachine, kKey, "TooBig", kRegSz, std::string(1024, 'a') + '\0');
    EXPECT_EQ(ReadRegistryValue(kHkeyLocalMachine, kKey, "NoNul"), "C:\\Tools\\tool.exe");
    EXPECT_EQ(ReadRegistryValue(kHkeyLocalMachine, kKey, "Zero"), "");
    EXPECT_EQ(ReadRegistryValue(kHkeyLocalMachine, kKey, "Fits"), std::string(1023, 'a'));
    EXPECT_EQ(ReadRegistryValue(kHkeyLocalMachine, kKey, "TooBig"), "");
    EXPECT_EQ(ReadRegistryValue(kHkeyLocalMachine, kKey, "Absent"), "");
    EXPECT_EQ(ReadRegistryValue(kHkeyLocalMachine, "SOFTWARE\\Nowhere", "Path"), "");
}

TEST_F(RegistryAccess, ChangesNeverCreateKeys) {
    EXPECT_FALSE(ChangeRegistryValue(kHkeyLocalMachine, kKey, "Path", "C:\\x.exe"));
    EXPECT_FALSE(sandbox::KeyExists(kHkeyLocalMachine, kKey));
    EXPECT_EQ(ReadAppFile("log.txt"), "<none>");
}

TEST_F(RegistryAccess, DeletesTellWhetherTheValueIsGone) {
    sandbox::SetString(kHkeyLocalMachine, kKey, "", "C:\\default.exe");
    sandbox::SetString(kHkeyLocalMachine, kKey, "Path", "C:\\Tools");

    EXPECT_FALSE(DeleteRegistryValue(kHkeyLocalMachine, kKey, ""));
    EXPECT_EQ(ReadAppFile("log.txt"), "Error: DeleteRegistryValue: valuename is empty\r\n");
    EXPECT_EQ(Stored(""), std::string("C:\\default.exe") + '\0') << "the default value stays";

    EXPECT_TRUE(DeleteRegistryValue(kHkeyLocalMachine, kKey, "PATH"));
    EXPECT_EQ(Stored("Path"), "<absent>");
    EXPECT_TRUE(DeleteRegistryValue(kHkeyLocalMachine, kKey, "Path")) << "already gone";
    EXPECT_TRUE(DeleteRegistryValue(kHkeyLocalMachine, "SOFTWARE\\Nowhere", "Path"));
    EXPECT_FALSE(sandbox::KeyExists(kHkeyLocalMachine, "SOFTWARE\\Nowhere"));
    EXPECT_EQ(ReadAppFile("log.txt"), "Error: DeleteRegistryValue: valuename is empty\r\n")
        << "absent values and keys are not reported";
}

TEST_F(RegistryAccess, RenamesKeepTypeAndDataAndNeverOverwrite) {
    const std::string count("\x03\0\0\0", 4);
    sandbox::SetValue(kHkeyLocalMachine, kKey, "C:\\Old\\a.dll", kRegDword, count);
    sandbox::SetValue(kHkeyLocalMachine, kKey, "C:\\Taken\\a.dll", kRegDword, std::string(4, 'x'));

    EXPECT_TRUE(RenameRegistryValue(kHkeyLocalMachine, kKey, "c:\\old\\A.DLL", "C:\\New\\a.dll"));
    EXPECT_EQ(Stored("C:\\Old\\a.dll"), "<absent>");
    const auto renamed = sandbox::GetValue(kHkeyLocalMachine, kKey, "C:\\New\\a.dll");
    ASSERT_TRUE(renamed);
    EXPECT_EQ(renamed->type, kRegDword);
    EXPECT_EQ(renamed->data, count);

    EXPECT_FALSE(RenameRegistryValue(kHkeyLocalMachine, kKey, "C:\\New\\a.dll", "c:\\taken\\a.dll"))
        << "the other value keeps its own count";
    EXPECT_EQ(Stored("C:\\Taken\\a.dll"), std::string(4, 'x'));
    EXPECT_EQ(Stored("C:\\New\\a.dll"), count);
    EXPECT_FALSE(RenameRegistryValue(kHkeyLocalMachine, kKey, "", "C:\\x.dll"));
    EXPECT_FALSE(RenameRegistryValue(kHkeyLocalMachine, kKey, "C:\\Absent.dll", "C:\\x.dll"));
    EXPECT_EQ(Stored("C:\\x.dll"), "<absent>");
    EXPECT_EQ(ReadAppFile("log.txt"),
              "Error: RenameRegistryValue: valuename exists\r\n"
              "Error: RenameRegistryValue: valuename is empty\r\n"
              "Error: RenameRegistryValue: 2: The system cannot find the file specified.\r\n");

    // A key the user may only read is not renamed in, and that is not logged.
    sandbox::RefuseFullAccess(kHkeyLocalMachine, "SOFTWARE");
    EXPECT_FALSE(RenameRegistryValue(kHkeyLocalMachine, kKey, "C:\\New\\a.dll", "C:\\y.dll"));
    EXPECT_EQ(Stored("C:\\New\\a.dll"), count);
}

TEST_F(RegistryAccess, AKeyRefusingFullAccessBehavesAsAbsent) {
    sandbox::SetString(kHkeyLocalMachine, kKey, "Path", "C:\\Tools");
    sandbox::RefuseFullAccess(kHkeyLocalMachine, "SOFTWARE");
    EXPECT_EQ(ReadRegistryValue(kHkeyLocalMachine, kKey, "Path"), "");
    EXPECT_FALSE(ChangeRegistryValue(kHkeyLocalMachine, kKey, "Path", "C:\\Other"));
    EXPECT_FALSE(DeleteRegistryValue(kHkeyLocalMachine, kKey, "Path")) << "refused, not gone";
    EXPECT_EQ(Stored("Path"), std::string("C:\\Tools") + '\0');
    EXPECT_EQ(ReadAppFile("log.txt"), "<none>");
    EXPECT_TRUE(sandbox::Journal().empty());
}

// The sandbox's model of HKLM for a standard user, which the cases above rely on.
TEST_F(RegistryAccess, RefusedFullAccessHoldsForEveryKeyBelowAndForTreeDeletion) {
    sandbox::SetString(kHkeyLocalMachine, "SOFTWARE\\Vendor\\App\\Deep", "Path", "C:\\App");
    sandbox::RefuseFullAccess(kHkeyLocalMachine, "SOFTWARE");
    RegKey vendor, app, deep;
    ASSERT_EQ(OpenKey(kHkeyLocalMachine, "SOFTWARE\\Vendor", 0, kKeyRead, vendor), kErrorSuccess);
    EXPECT_EQ(OpenKey(vendor, "App", 0, kKeyAllAccess, app), kErrorAccessDenied);
    ASSERT_EQ(OpenKey(vendor, "App", 0, kKeyRead, app), kErrorSuccess);
    EXPECT_EQ(OpenKey(app, "Deep", 0, kKeyAllAccess, deep), kErrorAccessDenied);
    EXPECT_EQ(DeleteKeyTree(kHkeyLocalMachine, "SOFTWARE\\Vendor\\App\\Deep"), kErrorAccessDenied);
    EXPECT_EQ(DeleteKeyTree(kHkeyLocalMachine, "SOFTWARE"), kErrorAccessDenied);
    EXPECT_TRUE(sandbox::KeyExists(kHkeyLocalMachine, "SOFTWARE\\Vendor\\App\\Deep"));

    sandbox::CreateKey(kHkeyCurrentUser, "Software\\Mixed\\Free");
    sandbox::RefuseFullAccess(kHkeyCurrentUser, "Software\\Mixed\\Locked");
    EXPECT_EQ(DeleteKeyTree(kHkeyCurrentUser, "Software\\Mixed"), kErrorAccessDenied);
    EXPECT_TRUE(sandbox::KeyExists(kHkeyCurrentUser, "Software\\Mixed\\Free"))
        << "a refused tree deletion deletes nothing";
    EXPECT_EQ(DeleteKeyTree(kHkeyCurrentUser, "Software\\Mixed\\Free"), kErrorSuccess);
}

TEST_F(RegistryAccess, FailedWritesAndDeletesAreLoggedAndNotReportedAsDone) {
    // Another program deletes the key each time the system has just opened it.
    const auto deletedOnceOpened = [] {
        sandbox::SetString(kHkeyLocalMachine, kKey, "Path", "C:\\Tools");
        sandbox::AfterNextKeyOpen([] {
            EXPECT_EQ(DeleteKeyTree(kHkeyLocalMachine, "SOFTWARE\\Microsoft"), kErrorSuccess);
        });
    };
    deletedOnceOpened();
    EXPECT_FALSE(ChangeRegistryValue(kHkeyLocalMachine, kKey, "Path", "C:\\Other"));
    deletedOnceOpened();
    EXPECT_FALSE(DeleteRegistryValue(kHkeyLocalMachine, kKey, "Path"));
    EXPECT_FALSE(sandbox::KeyExists(kHkeyLocalMachine, "SOFTWARE\\Microsoft"))
        << "the failed write made nothing";
    const std::string description =
        "Illegal operation attempted on a registry key that has been marked for deletion.";
    EXPECT_EQ(ReadAppFile("log.txt"), "Error: ChangeRegistryValue: 1018: " + description +
                                          "\r\nError: DeleteRegistryValue: 1018: " + description +
                                          "\r\n");
}

}  // namespace
