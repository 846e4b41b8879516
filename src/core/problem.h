// One problem found by a scan: what is broken, where, and what a repair needs to mend it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace core {

class Language;

enum class ProblemKind { Registry, Shortcut, File };

// The column the list shows as the category.
enum class Category { BrokenLink, UnusedFile, WrongUninstall, WrongHelp };

// What a found file becomes in the entry: the file's own path, or the folder that holds it
// (help entries keep the folder as data and the file as the value's name).
enum class Cure { PointToFile, PointToFolder };

// Which program's view of the machine-wide registry an entry is in: a 64-bit Windows keeps
// what 32-bit programs write under HKLM\SOFTWARE in a view of their own (WOW6432Node).
enum class RegistryView { Native, Of32BitPrograms };

struct Problem {
    ProblemKind kind = ProblemKind::Registry;
    Category category = Category::BrokenLink;
    std::string location;     // the list's location column: a file, or a registry path
    std::string description;  // the list's description column
    std::string missingFile;  // the path the entry names; empty for an old temporary file
    std::string file;         // the shortcut or the temporary file itself
    platform::RootKey root = 0;
    std::string keyPath;
    std::string valueName;
    Cure cure = Cure::PointToFile;
    RegistryView view = RegistryView::Native;  // whose paths the entry holds
    bool repaired = false;

    // The row key in the problem list: one row per identity, matched without regard to case.
    std::string Identity() const;
    std::uint64_t IdentityHash() const;  // base::HashNoCase of the identity

  private:
    std::array<std::string_view, 4> IdentityParts() const;  // the identity, joined
};

using Problems = std::vector<Problem>;

std::string KindText(ProblemKind kind, const Language& language);
std::string CategoryText(Category category, const Language& language);

}  // namespace core
