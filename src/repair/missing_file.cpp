#include "repair/missing_file.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/app_state.h"
#include "core/translate.h"
#include "model/item.h"
#include "platform/errors.h"
#include "platform/filesystem.h"
#include "platform/text.h"
#include "repair/repair_progress.h"
#include "repair/select_path.h"
#include "ui/interaction.h"

std::vector<std::string> colCandidates;
std::string sChosenPath;

namespace {

using platform::FindData;

// Sets the repair window's status line; false when there is no window to take it. A text
// the line shows already is not set again: every record's search ends by clearing the
// line, and a label repaints itself whenever its text is set.
bool ShowStatus(const std::string& text) {
    if (frmRepairRun == nullptr || !frmRepairRun->IsLoaded()) return false;
    if (frmRepairRun->lbl2.Caption() != text) frmRepairRun->lbl2.SetCaption(text);
    return true;
}

bool IsFolderToEnter(const FindData& entry) {
    return entry.dwFileAttributes != platform::kInvalidFileAttributes &&
           (entry.dwFileAttributes & platform::kFileAttributeDirectory) &&
           !platform::IsReparsePoint(entry);
}

// Walks the folder's tree in the search's order: the folder is shown on the status line and
// listed whole, every entry handed to `visit(name, full path)`, and only then is each
// subfolder walked in turn. A folder that cannot be listed contributes nothing. The
// subfolders are kept in a vector: no limit on how many one folder holds.
// The status line and the events follow the pace a screen can take: repainting the line
// costs more than listing a folder.
// `searching` is the translated status text, looked up once for the whole walk.
template <typename Visit>
void WalkTree(const std::string& folder, const std::string& searching, Visit& visit) {
    if (ui::ProgressRefreshDue()) {
        ShowStatus(searching + " " + folder + "...");
        ui::DoEvents();
    }
    std::vector<std::string> subfolders;
    FindData entry;
    platform::FindHandle listing;
    for (long result = platform::FindFirst(folder + "\\*.*", entry, listing);
         result == platform::kErrorSuccess; result = platform::FindNext(listing, entry)) {
        if (entry.cFileName == "." || entry.cFileName == "..") continue;
        std::string full = folder + "\\" + entry.cFileName;
        visit(entry.cFileName, full);
        if (IsFolderToEnter(entry)) subfolders.push_back(std::move(full));
        if (ui::ProgressRefreshDue()) ui::DoEvents();
    }
    listing.reset();  // one listing open at a time, however deep the tree
    for (const std::string& subfolder : subfolders)
        WalkTree(subfolder, searching, visit);
}

std::string SearchingText() {
    return Translate("repair_searchingdir", "Searching directory");
}

// Both trees searched for a missing file, in order: the Windows folder, then the
// program-files folder. An empty folder is left out: its pattern "\*.*" would list the
// root of the current drive.
std::vector<std::string> SearchRoots() {
    std::vector<std::string> roots;
    for (const std::string* folder : {&sWindowsFolder, &sProgramFilesFolder}) {
        std::string root = StripBackslash(*folder);
        if (!root.empty()) roots.push_back(std::move(root));
    }
    return roots;
}

// Every entry of both trees, grouped by name folded to upper case as Windows compares names, each
// group in the order a search for that name discovers its entries. One walk serves every record of
// a repair run, where a search per record would list both trees again each time.
class TreeIndex {
  public:
    bool BuiltFor(const std::vector<std::string>& roots) const { return built_ && roots == roots_; }

    void Build(const std::vector<std::string>& roots) {
        byName_.clear();
        roots_ = roots;
        const std::string searching = SearchingText();
        auto record = [this](const std::string& name, const std::string& full) {
            byName_[platform::UpperCase(name)].push_back(full);
        };
        for (const std::string& root : roots_)
            WalkTree(root, searching, record);
        built_ = true;
    }

    const std::vector<std::string>& Named(const std::string& fileName) const {
        static const std::vector<std::string> none;
        const auto it = byName_.find(platform::UpperCase(fileName));
        return it == byName_.end() ? none : it->second;
    }

    void Forget() {
        built_ = false;
        roots_.clear();
        byName_.clear();
    }

  private:
    bool built_ = false;
    std::vector<std::string> roots_;
    std::unordered_map<std::string, std::vector<std::string>> byName_;
};

TreeIndex treeIndex;

// Whether the entry is still there: it may have gone since the trees were indexed. Its
// attributes answer for nearly every entry; one whose attributes cannot be read is looked
// for in its folder's listing, where a fresh search would find it.
bool StillListed(const std::string& path) {
    if (platform::GetAttributes(path) != platform::kInvalidFileAttributes) return true;
    FindData entry;
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

std::vector<std::string> CurrentCandidates(const std::string& fileName) {
    const std::vector<std::string> roots = SearchRoots();
    if (!treeIndex.BuiltFor(roots)) treeIndex.Build(roots);
    std::vector<std::string> candidates;
    for (const std::string& path : treeIndex.Named(fileName))
        if (StillListed(path)) candidates.push_back(path);
    return candidates;
}

}  // namespace

std::string FindMissingFile(clsItem& item) {
    if (item.pType() == kTypeFile || item.pType() == kTypeRepaired) return "";
    const std::string& missing = item.pCureMissingfile;
    if (missing.empty()) return "";
    std::vector<std::string> candidates = CurrentCandidates(MissingFileName(missing));
    SetRepairStatus("");
    if (candidates.empty()) return "";
    if (candidates.size() == 1) return candidates.front();
    colCandidates = std::move(candidates);
    SelectPathForm chooser(missing);
    chooser.Show(ui::ShowMode::Modal, frmRepairRun);
    return sChosenPath;
}

std::vector<std::string> SearchFile(const std::string& folder, const std::string& fileName) {
    std::vector<std::string> found;
    auto match = [&](const std::string& name, const std::string& full) {
        if (platform::EqualsNoCase(name, fileName)) found.push_back(full);
    };
    WalkTree(folder, SearchingText(), match);
    return found;
}

std::string StripBackslash(const std::string& path) {
    if (!path.empty() && path.back() == '\\') return path.substr(0, path.size() - 1);
    return path;
}

void SetRepairStatus(const std::string& text) {
    if (ShowStatus(text) && ui::ProgressRefreshDue()) ui::DoEvents();
}

void ResetMissingFileIndex() {
    treeIndex.Forget();
}
