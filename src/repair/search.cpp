#include "repair/search.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "base/text.h"
#include "core/folder_walk.h"
#include "platform/errors.h"
#include "platform/filesystem.h"

namespace repair {
namespace {

// Walks the tree, showing each folder on the status line as its listing starts; `visit(path,
// name)` sees every entry.
template <typename Visit>
void WalkShowing(const std::string& root, const std::string& searching, core::Progress& progress,
                 Visit&& visit) {
    core::WalkTree(
        root, [&](const std::string& path) { progress.Looking(searching + " " + path + "..."); },
        [&](const std::string& path, const platform::FindData& entry) {
            visit(path, entry.cFileName);
            progress.KeepResponsive();
            return true;
        });
}

// Whether the entry is still there: it may have gone since the trees were indexed. Its
// attributes answer for nearly every entry; one whose attributes cannot be read is looked
// for in its folder's listing, where a fresh search would find it.
bool StillListed(const std::string& path) {
    if (platform::GetAttributes(path) != platform::kInvalidFileAttributes) return true;
    platform::FindData entry;
    platform::FindHandle listing;
    return platform::FindFirst(path, entry, listing) == platform::kErrorSuccess;
}

// The name to look for: the text after the last backslash; the whole text when there is
// none or the text ends with one.
std::string MissingFileName(const std::string& missing) {
    const auto last = missing.rfind('\\');
    if (last == std::string::npos || last + 1 == missing.size()) return missing;
    return missing.substr(last + 1);
}

// The folder names of a path, from its own folder upwards: no file name, no drive.
std::vector<std::string_view> FolderNamesUpwards(std::string_view path) {
    std::vector<std::string_view> names;
    for (size_t end = path.rfind('\\'); end != std::string_view::npos && end > 0;) {
        const size_t slash = path.rfind('\\', end - 1);
        const size_t begin = slash == std::string_view::npos ? 0 : slash + 1;
        const std::string_view name = path.substr(begin, end - begin);
        if (!name.empty() && name.back() != ':') names.push_back(name);
        if (slash == std::string_view::npos) break;
        end = slash;
    }
    return names;
}

}  // namespace

std::size_t SharedFolderNames(const std::string& candidate, const std::string& missing) {
    const auto found = FolderNamesUpwards(candidate), gone = FolderNamesUpwards(missing);
    std::size_t shared = 0;
    while (shared < found.size() && shared < gone.size() &&
           base::EqualsNoCase(found[shared], gone[shared]))
        ++shared;
    return shared;
}

void RankByEvidence(std::vector<std::string>& candidates, const std::string& missing) {
    std::vector<std::pair<std::size_t, std::string>> ranked;
    for (std::string& candidate : candidates)
        ranked.emplace_back(SharedFolderNames(candidate, missing), std::move(candidate));
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t i = 0; i < ranked.size(); ++i)
        candidates[i] = std::move(ranked[i].second);
}

std::vector<std::string> SearchFile(const std::string& folder, const std::string& fileName,
                                    const std::string& searching, core::Progress& progress) {
    std::vector<std::string> found;
    WalkShowing(folder, searching, progress, [&](const std::string& path, const std::string& name) {
        if (base::EqualsNoCase(name, fileName)) found.push_back(path);
    });
    return found;
}

std::string StripBackslash(const std::string& path) {
    if (!path.empty() && path.back() == '\\') return path.substr(0, path.size() - 1);
    return path;
}

// Every entry of both trees, grouped by name folded to upper case as Windows compares names,
// each group in the order a search for that name discovers its entries. An empty folder is
// left out: its pattern "\*.*" would list the root of the current drive.
void MissingFileSearch::BuildIndex() {
    const std::string searching = language_.Text("repair_searchingdir", "Searching directory");
    for (const std::string* folder :
         {&folders_.windows, &folders_.programFiles, &folders_.programFilesX86}) {
        const std::string root = StripBackslash(*folder);
        if (root.empty()) continue;
        WalkShowing(root, searching, progress_,
                    [this](const std::string& path, const std::string& name) {
                        byName_[base::UpperCase(name)].push_back(path);
                    });
    }
    indexed_ = true;
}

std::vector<std::string> MissingFileSearch::Candidates(const core::Problem& problem) {
    std::vector<std::string> candidates;
    if (problem.kind == core::ProblemKind::File || problem.missingFile.empty()) return candidates;
    if (!indexed_) BuildIndex();
    if (const auto named = byName_.find(base::UpperCase(MissingFileName(problem.missingFile)));
        named != byName_.end()) {
        for (const std::string& path : named->second)
            if (StillListed(path)) candidates.push_back(path);
    }
    progress_.Looking("");
    return candidates;
}

}  // namespace repair
