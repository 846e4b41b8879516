#include "repair/actions.h"

#include "base/text.h"
#include "core/command_line.h"
#include "core/registry.h"
#include "core/shortcut.h"
#include "platform/errors.h"
#include "platform/filesystem.h"

namespace repair {
namespace {

using core::Problem;
using core::ProblemKind;

// The folder of a path, without its last backslash; the whole path when it has none.
std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(0, slash);
}

// A value whose name is the path, with its use count as data (the shared DLLs).
bool PathIsValueName(const Problem& problem, const core::Folders& folders) {
    if (problem.valueName.empty()) return false;
    const std::string named = core::PathFromCommandLine(
        problem.valueName, problem.view == core::RegistryView::Of32BitPrograms
                               ? folders.SeenBy32BitPrograms()
                               : folders);
    return base::EqualsNoCase(named, problem.missingFile);
}

// A value that Windows runs as a command line: an uninstall command or a Run entry. The
// other lists (fonts, application paths) hold a bare path, which quotes would break.
bool HoldsCommandLine(const Problem& problem) {
    if (problem.category == core::Category::WrongUninstall) return true;
    const std::string& key = problem.keyPath;
    const size_t slash = key.rfind('\\');
    return base::EqualsNoCase(slash == std::string::npos ? key : key.substr(slash + 1), "Run");
}

// The value's current text with the missing path replaced by `newPath`, its arguments kept.
// In a command line, a new path with a blank is quoted unless it stood in quotes already:
// unquoted, Windows would take "C:\Program" for the program. A text that does not hold the
// missing path (it names it through an environment word, say) is replaced whole, by the new
// path quoted by the same rule.
std::string RepointedText(const Problem& problem, const std::string& newPath) {
    std::string text = core::ReadRegistryText(problem.root, problem.keyPath, problem.valueName);
    const std::string& missing = problem.missingFile;
    size_t length = 0;
    const size_t at =
        missing.empty() ? std::string::npos : base::FindNoCase(text, missing, &length);
    const bool quoted = at != std::string::npos && at > 0 && text[at - 1] == '"';
    const bool quote =
        !quoted && HoldsCommandLine(problem) && newPath.find(' ') != std::string::npos;
    const std::string replacement = quote ? '"' + newPath + '"' : newPath;
    if (at == std::string::npos) return replacement;
    return text.replace(at, length, replacement);
}

bool RepointRegistryEntry(const Problem& problem, const std::string& newPath,
                          const core::Folders& folders) {
    const std::string& key = problem.keyPath;
    switch (problem.cure) {
        case core::Cure::PointToFile:
            if (PathIsValueName(problem, folders))
                return core::RenameRegistryValue(problem.root, key, problem.valueName, newPath);
            return core::WriteRegistryText(problem.root, key, problem.valueName,
                                           RepointedText(problem, newPath));
        case core::Cure::PointToFolder:
            return core::WriteRegistryText(problem.root, key, problem.valueName, FolderOf(newPath));
    }
    return false;
}

// Deletes one file; nothing when it is gone, else the reason, after telling the user.
std::string DeleteFile(const std::string& path, User& user) {
    const long error = platform::RemoveFile(path);
    if (error == platform::kErrorSuccess) return {};
    user.CannotDelete(path);
    return platform::ErrorDescription(error);
}

}  // namespace

bool Repoint(Problem& problem, const std::string& newPath, const core::Folders& folders) {
    if (newPath.empty()) return false;
    bool changed = false;
    if (problem.kind == ProblemKind::Registry)
        changed = RepointRegistryEntry(problem, newPath, folders);
    else if (problem.kind == ProblemKind::Shortcut)
        changed = core::RepointShortcut(problem.file, newPath);
    if (changed) problem.repaired = true;
    return changed;
}

Outcome Delete(Problem& problem, User& user) {
    std::string reason;
    if (problem.kind != ProblemKind::Registry)
        reason = DeleteFile(problem.file, user);
    else if (!core::DeleteRegistryValue(problem.root, problem.keyPath, problem.valueName))
        reason = problem.valueName.empty() ? "the default value is not deleted"
                                           : "the value could not be deleted";
    if (!reason.empty()) return {Action::Failed, "", reason};
    problem.repaired = true;
    return {Action::Deleted};
}

Outcome Repairer::Repair(Problem& problem) {
    if (problem.kind == ProblemKind::File || method_ != Method::Conservative)
        return Delete(problem, user_);
    bool asked = false;
    const std::string found = FoundPath(problem, asked);
    if (Repoint(problem, found, folders_)) return {Action::Repointed, found};
    if (asked && found.empty() && !user_.DeleteWhenNoneChosen()) return {Action::NeedsChoice};
    return Delete(problem, user_);
}

std::string Repairer::FoundPath(const Problem& problem, bool& asked) {
    std::vector<std::string> candidates = search_.Candidates(problem);
    if (candidates.empty()) return "";
    // A file of the same name elsewhere may be another program's ("uninst.exe", "setup.exe"):
    // only a single find in a folder of the same name is taken without asking.
    if (candidates.size() == 1 && SharedFolderNames(candidates.front(), problem.missingFile) > 0)
        return candidates.front();
    RankByEvidence(candidates, problem.missingFile);
    asked = true;
    return user_.ChoosePath(problem, candidates).value_or("");
}

}  // namespace repair
