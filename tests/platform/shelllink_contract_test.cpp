// Shortcut files through the shell link: written, read back field by field, re-pointed, and
// refused when missing, damaged or in use.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/com.h"
#include "platform/contract_machine.h"
#include "platform/errors.h"
#include "platform/shelllink.h"

using namespace platform;

namespace {

// Only failure codes are errors: S_FALSE counts as success, as with SUCCEEDED.
bool Failed(HResult hr) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(hr)) < 0;
}

using Fields = contract::Shortcut;

class ShellLinkContract : public ::testing::Test {
  protected:
    // The run's one link object lives in the process's apartment, as in the program.
    static void SetUpTestSuite() { static ComApartment apartment; }

    void SetUp() override {
        scratch_ = contract::PrepareMachine();
        ASSERT_EQ(ShellLink::Instance(link_), kSOk);
        ASSERT_NE(link_, nullptr);
    }

    std::string Path(const std::string& name) const { return scratch_ + "\\" + name; }

    void Expect(HResult hr, const char* call) {
        EXPECT_FALSE(Failed(hr)) << call << " failed: " << std::hex << hr;
    }

    // Loads the shortcut and reads every field, as the shortcut reader does.
    Fields Read(const std::string& file) {
        SCOPED_TRACE(file);
        Fields read;
        Expect(link_->Load(file, kStgmRead), "Load");
        Expect(link_->GetPath(read.path, kSlgpUncPriority), "GetPath");
        Expect(link_->GetDescription(read.description), "GetDescription");
        Expect(link_->GetArguments(read.arguments), "GetArguments");
        Expect(link_->GetHotkey(read.hotkey), "GetHotkey");
        Expect(link_->GetIconLocation(read.iconPath, read.iconIndex), "GetIconLocation");
        Expect(link_->GetWorkingDirectory(read.workingDirectory), "GetWorkingDirectory");
        Expect(link_->GetShowCmd(read.showCommand), "GetShowCmd");
        return read;
    }

    // Points the loaded shortcut elsewhere and writes it back, as the repair does.
    void Repoint(const std::string& file, const std::string& target) {
        SCOPED_TRACE(file);
        Expect(link_->Load(file, kStgmRead), "Load");
        Expect(link_->SetPath(target), "SetPath");
        Expect(link_->Resolve(kSlrUpdate | kSlrNoUi), "Resolve");
        Expect(link_->Save(file, false), "Save");
    }

    std::string scratch_;
    ShellLink* link_ = nullptr;
};

TEST_F(ShellLinkContract, ShortcutReadsBackFieldByFieldAndRepoints) {
    contract::MakeFolder(Path("App"));
    contract::WriteFile(Path("App\\tool.exe"), "MZ");
    contract::WriteFile(Path("App\\other.exe"), "MZ");
    const std::string lnk = Path("Tool.lnk");
    Fields written;
    written.path = Path("App\\tool.exe");
    written.description = "The tool";
    written.arguments = "-x \"a b\"";
    written.iconPath = Path("App\\tool.ico");
    written.iconIndex = 3;
    written.workingDirectory = Path("App");
    written.hotkey = 0x0241;
    // Wine 8 writes any show command but reads every one back as SW_SHOWNORMAL; the
    // sandbox's own test holds the others.
    written.showCommand = 1;
    contract::WriteShortcut(lnk, written);

    const Fields read = Read(lnk);
    EXPECT_EQ(read.path, written.path);
    EXPECT_EQ(read.description, written.description);
    EXPECT_EQ(read.arguments, written.arguments);
    EXPECT_EQ(read.hotkey, written.hotkey);
    EXPECT_EQ(read.iconPath, written.iconPath);
    EXPECT_EQ(read.iconIndex, written.iconIndex);
    EXPECT_EQ(read.workingDirectory, written.workingDirectory);
    EXPECT_EQ(read.showCommand, written.showCommand);

    Repoint(lnk, Path("App\\other.exe"));
    const Fields repointed = Read(lnk);
    EXPECT_EQ(repointed.path, Path("App\\other.exe"));
    EXPECT_EQ(repointed.arguments, written.arguments) << "only the target changes";
    EXPECT_EQ(repointed.description, written.description);
}

TEST_F(ShellLinkContract, UnreadableShortcutsFailLoadWithTheirReason) {
    Fields link;
    link.path = Path("tool.exe");
    contract::WriteShortcut(Path("in use.lnk"), link);
    contract::LockFile(Path("in use.lnk"));
    contract::WriteFile(Path("damaged.lnk"), "This is not a shortcut at all.\r\n");

    const HResult damaged = link_->Load(Path("damaged.lnk"), kStgmRead);
    EXPECT_EQ(damaged, kEFail);
    EXPECT_FALSE(ErrorDescription(damaged).empty());
    EXPECT_EQ(link_->Load(Path("missing.lnk"), kStgmRead), HResultFromWin32(kErrorFileNotFound));
    EXPECT_EQ(link_->Load(Path("Missing\\tool.lnk"), kStgmRead),
              HResultFromWin32(kErrorPathNotFound));
    const HResult inUse = link_->Load(Path("in use.lnk"), kStgmRead);
    EXPECT_EQ(inUse, HResultFromWin32(kErrorSharingViolation));
    EXPECT_NE(ErrorDescription(inUse), ErrorDescription(damaged));

    EXPECT_EQ(link_->Save(Path("Missing\\tool.lnk"), false), HResultFromWin32(kErrorPathNotFound));
}

// A few hundred damaged copies of a real shortcut, cut short or with bytes overwritten: each
// loads or fails with an HRESULT, and whatever loads reads back texts that fit their buffers.
TEST_F(ShellLinkContract, DamagedShortcutsLoadOrFailButNeverBreakTheReader) {
    Fields link;
    link.path = Path("App\\tool.exe");
    link.description = "The tool";
    link.arguments = "-x";
    link.workingDirectory = Path("App");
    contract::WriteShortcut(Path("good.lnk"), link);
    const std::string good = contract::ReadFile(Path("good.lnk"));
    ASSERT_GT(good.size(), 16u);

    std::vector<std::string> damaged;
    for (size_t length = 0; length < good.size(); length += 1 + good.size() / 40)
        damaged.push_back(good.substr(0, length));
    std::uint32_t seed = 12345;  // the same copies every run
    for (int copy = 0; copy < 200; ++copy) {
        std::string bytes = good;
        for (int change = 0; change <= copy % 4; ++change) {
            seed = seed * 1103515245 + 12345;
            bytes[(seed >> 8) % bytes.size()] = static_cast<char>(seed >> 24);
        }
        damaged.push_back(bytes);
    }

    int loaded = 0;
    for (size_t i = 0; i < damaged.size(); ++i) {
        SCOPED_TRACE("damaged copy " + std::to_string(i));
        const std::string file = Path("damaged.lnk");
        contract::WriteFile(file, damaged[i]);
        if (Failed(link_->Load(file, kStgmRead))) continue;
        ++loaded;
        Fields read;
        link_->GetPath(read.path, kSlgpUncPriority);
        link_->GetDescription(read.description);
        link_->GetArguments(read.arguments);
        link_->GetIconLocation(read.iconPath, read.iconIndex);
        link_->GetWorkingDirectory(read.workingDirectory);
        for (const std::string* text : {&read.path, &read.description, &read.arguments,
                                        &read.iconPath, &read.workingDirectory}) {
            EXPECT_LT(text->size(), 260u);
            EXPECT_EQ(text->find('\0'), std::string::npos);
        }
    }
    EXPECT_LT(loaded, static_cast<int>(damaged.size())) << "some copies must be refused";
}

}  // namespace
