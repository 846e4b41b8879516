// Shortcut files through the shell's link object (ShellLink with IShellLinkW and
// IPersistFile): one object for the whole run, made on first use. Every call returns the
// object's HRESULT; texts come back up to their first NUL, read into 260-character buffers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

using HResult = long;
constexpr HResult kSOk = 0;
constexpr HResult kSFalse = 1;
constexpr HResult kEFail = static_cast<std::int32_t>(0x80004005);  // also a damaged file
// HRESULT_FROM_WIN32: how the object reports a Win32 error, such as a missing file.
constexpr HResult HResultFromWin32(long error) {
    return static_cast<std::int32_t>(0x80070000u | (static_cast<std::uint32_t>(error) & 0xFFFF));
}
constexpr std::uint32_t kStgmRead = 0;
constexpr std::uint32_t kSlgpUncPriority = 2;
constexpr std::uint32_t kSlrNoUi = 1;
constexpr std::uint32_t kSlrUpdate = 4;

class ShellLink {
  public:
    // The run's one object, created on the first call: S_OK, or the HRESULT that creating it
    // failed with (then `link` is null and the next call tries again).
    static HResult Instance(ShellLink*& link);

    // IPersistFile::Load of a shortcut file, `mode` as STGM (kStgmRead).
    HResult Load(const std::string& file, std::uint32_t mode);
    // IShellLinkW getters, in the order a reader takes them.
    HResult GetPath(std::string& path, std::uint32_t flags);
    HResult GetDescription(std::string& description);
    HResult GetArguments(std::string& arguments);
    HResult GetHotkey(std::uint16_t& hotkey);
    HResult GetIconLocation(std::string& iconPath, long& iconIndex);
    HResult GetWorkingDirectory(std::string& folder);
    HResult GetShowCmd(long& showCommand);
    // Re-pointing: SetPath, Resolve without an owner window, Save to a file.
    HResult SetPath(const std::string& path);
    HResult Resolve(std::uint32_t flags);
    HResult Save(const std::string& file, bool remember);

    ~ShellLink();
    ShellLink(const ShellLink&) = delete;
    ShellLink& operator=(const ShellLink&) = delete;

    struct Impl;  // the backend's object

  private:
    explicit ShellLink(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform
