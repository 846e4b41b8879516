// The one walk through a folder's tree, shared by the scanners and the search for a missing
// file.
#pragma once

#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/filesystem.h"

namespace core {

// Whether the walk enters this entry: a folder whose attributes can be read and that is not
// a reparse point. Junctions, symbolic links and Wine's tagless reparse folders all lead out
// of the tree, and a walk through them would record or delete what lies elsewhere.
inline bool EntersFolder(const platform::FindData& entry) {
    return entry.dwFileAttributes != platform::kInvalidFileAttributes &&
           (entry.dwFileAttributes & platform::kFileAttributeDirectory) &&
           !platform::IsReparsePoint(entry);
}

// Walks `folder` (no trailing backslash) in the order the search promises: `onFolder(path)`
// as each folder's listing starts, `visit(path, entry)` for every entry but "." and ".." in
// listing order, and only then each subfolder in turn. A folder that cannot be listed adds
// nothing. `visit` returns false to stop the whole walk; WalkTree then returns false. The
// listing of a folder is closed before its subfolders are entered: one open at a time,
// however deep the tree.
template <typename OnFolder, typename Visit>
bool WalkTree(const std::string& folder, OnFolder&& onFolder, Visit&& visit) {
    onFolder(folder);
    std::vector<std::string> subfolders;
    {
        platform::FindData entry;
        platform::FindHandle listing;
        for (long result = platform::FindFirst(folder + "\\*.*", entry, listing);
             result == platform::kErrorSuccess; result = platform::FindNext(listing, entry)) {
            if (entry.cFileName == "." || entry.cFileName == "..") continue;
            std::string path = folder + "\\" + entry.cFileName;
            if (!visit(path, entry)) return false;
            if (EntersFolder(entry)) subfolders.push_back(std::move(path));
        }
    }
    for (const std::string& subfolder : subfolders)
        if (!WalkTree(subfolder, onFolder, visit)) return false;
    return true;
}

}  // namespace core
