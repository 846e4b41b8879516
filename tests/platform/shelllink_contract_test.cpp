// Shortcut files through the shell link: read back, re-pointed, refused when unfit to load.
#include "platform/com.h"
#include "platform/contract_scratch.h"
#include "platform/shelllink.h"

using namespace platform;
using namespace std::string_literals;

namespace {

// Only failure codes are errors: S_FALSE counts as success, as with SUCCEEDED.
bool Failed(HResult hr) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(hr)) < 0;
}

class ShellLinkContract : public contract::Scratch {
  protected:
    // The run's one link object lives in the process's apartment, as in the program.
    static void SetUpTestSuite() { static ComApartment apartment; }
    void SetUp() override {
        Scratch::SetUp();
        ASSERT_EQ(ShellLink::Instance(link_), kSOk);
    }
    std::string Read(const std::string& file) {
        contract::Shortcut r;
        for (const HResult hr :
             {link_->Load(file, kStgmRead), link_->GetPath(r.path, kSlgpUncPriority),
              link_->GetDescription(r.description), link_->GetArguments(r.arguments),
              link_->GetHotkey(r.hotkey), link_->GetIconLocation(r.iconPath, r.iconIndex),
              link_->GetWorkingDirectory(r.workingDirectory), link_->GetShowCmd(r.showCommand)})
            if (Failed(hr)) return "failed " + std::to_string(hr);
        return Lines(r);
    }
    static std::string Lines(const contract::Shortcut& s) {
        return s.path + "\n" + s.description + "\n" + s.arguments + "\n" + s.iconPath + "," +
               std::to_string(s.iconIndex) + "\n" + s.workingDirectory + "\n" +
               std::to_string(s.hotkey) + " " + std::to_string(s.showCommand);
    }
    ShellLink* link_ = nullptr;
};

TEST_F(ShellLinkContract, ShortcutsReadBackAndRepointOrFailWithTheirReasonButNeverBreakTheReader) {
    // SW_SHOWNORMAL: Wine 8 writes any show command but reads every one back as that one.
    contract::Shortcut written{Path("App\\tool.exe"), "The tool", "-x \"a b\"",
                               Path("App\\tool.ico"), Path("App")};
    written.hotkey = 0x0241;
    written.iconIndex = 3;
    contract::MakeFolder(Path("App"));
    contract::WriteFile(Path("App\\tool.exe"), "MZ");
    contract::WriteFile(Path("App\\other.exe"), "MZ");
    contract::WriteShortcut(Path("Tool.lnk"), written);
    EXPECT_EQ(Read(Path("Tool.lnk")), Lines(written));

    // Re-pointed as the repair does it: only the target changes.
    EXPECT_FALSE(Failed(link_->SetPath(Path("App\\other.exe"))) ||
                 Failed(link_->Resolve(kSlrUpdate | kSlrNoUi)) ||
                 Failed(link_->Save(Path("Tool.lnk"), false)));
    written.path = Path("App\\other.exe");
    EXPECT_EQ(Read(Path("Tool.lnk")), Lines(written));

    // Missing, damaged or in use, a shortcut fails to load with its reason. Damaged copies of a
    // real one load or fail; whatever loads reads back texts that fit their buffers.
    contract::WriteShortcut(Path("in use.lnk"), {.path = Path("tool.exe")});
    contract::LockFile(Path("in use.lnk"));
    contract::WriteFile(Path("damaged.lnk"), "This is not a shortcut at all.\r\n");
    const std::pair<const char*, HResult> rows[] = {
        {"damaged.lnk", kEFail},
        {"missing.lnk", HResultFromWin32(kErrorFileNotFound)},
        {"in use.lnk", HResultFromWin32(kErrorSharingViolation)}};
    for (const auto& [file, hr] : rows)
        EXPECT_EQ(link_->Load(Path(file), kStgmRead), hr) << file;
    EXPECT_NE(ErrorDescription(kEFail), ErrorDescription(HResultFromWin32(kErrorSharingViolation)));
    EXPECT_EQ(link_->Save(Path("Missing\\tool.lnk"), false), HResultFromWin32(kErrorPathNotFound));

    contract::WriteShortcut(Path("good.lnk"), {.path = Path("App\\tool.exe"), .arguments = "-x"});
    std::string good = contract::ReadFile(Path("good.lnk"));
    // Wine 8 crashes on some damaged item lists (ILLoadFromStream), and the list holds folder
    // times that change every run: a real shortcut's copies go without it (flag bit 0 at 0x14,
    // the list after the 76-byte header), and keep that flag clear.
    const bool real = good.starts_with("L\0\0\0"s) && (good[0x14] & 1);
    if (real) good.erase(0x4C, 2 + std::uint8_t(good[0x4C]) + 256 * std::uint8_t(good[0x4D]));
    std::uint32_t seed = 12345, refused = 0;  // the same copies every run
    for (std::size_t copy = 0; copy < 240; ++copy) {
        std::string bytes = good.substr(0, copy < 40 ? copy * good.size() / 40 : good.size());
        for (std::size_t change = 0; copy >= 40 && change <= copy % 4; ++change) {
            seed = seed * 1103515245 + 12345;
            bytes[(seed >> 8) % bytes.size()] = static_cast<char>(seed >> 24);
        }
        if (real && bytes.size() > 0x14) bytes[0x14] &= ~1;
        contract::WriteFile(Path("damaged.lnk"), bytes);
        const std::string read = Read(Path("damaged.lnk"));
        refused += read.starts_with("failed");
        std::size_t start = 0, end = 0;
        while ((end = read.find('\n', start)) != std::string::npos && end - start < 260)
            start = end + 1;
        EXPECT_EQ(end, std::string::npos) << "a text too long in damaged copy " << copy;
        EXPECT_EQ(read.find('\0'), std::string::npos) << "damaged copy " << copy;
    }
    EXPECT_GT(refused, 0u) << "some copies must be refused";
}

}  // namespace
