#include "app/problem_list_view.h"

#include <charconv>
#include <optional>
#include <string>

#include "forms/interaction.h"

namespace app {
namespace {

constexpr std::size_t kRowsBetweenEvents = 100;

int IconOf(core::ProblemKind kind) {
    switch (kind) {
        case core::ProblemKind::Registry:
            return kIconRegistry;
        case core::ProblemKind::Shortcut:
            return kIconShortcut;
        case core::ProblemKind::File:
            return kIconFile;
    }
    return forms::ListView::kNoIcon;
}

// The position a row's tag holds; nothing for a tag that is not a position of `count`.
std::optional<std::size_t> PositionOfTag(const std::string& tag, std::size_t count) {
    std::size_t position = 0;
    const auto [end, error] = std::from_chars(tag.data(), tag.data() + tag.size(), position);
    if (tag.empty() || error != std::errc() || end != tag.data() + tag.size() || position >= count)
        return std::nullopt;
    return position;
}

}  // namespace

void ProblemListView::AddRow(const core::Problem& problem, std::size_t position) {
    if (!list_.Add(problem.Identity(), core::KindText(problem.kind, language_),
                   IconOf(problem.kind)))
        return;
    const int row = list_.Count();
    list_.SetTag(row, std::to_string(position));
    list_.SetText(row, 1, core::CategoryText(problem.category, language_));
    list_.SetText(row, 2, problem.location);
    list_.SetText(row, 3, problem.description);
}

// The row whose key was current before the refresh becomes current and visible again. A
// list on a window not shown yet takes no focus: the window's tab order gives it then.
void ProblemListView::RestoreCurrentRow(const std::string& key) {
    if (list_.Visible()) list_.SetFocus();
    if (key.empty()) return;
    if (const int row = list_.FindKey(key); row != 0) {
        list_.SetCurrentItem(row);
        list_.EnsureVisible(row);
    }
}

void ProblemListView::Refresh(const core::Problems& problems) {
    std::string currentKey;
    if (const int current = list_.CurrentItem(); current != 0 && current <= list_.Count())
        currentKey = list_.Key(current);
    window_.SetBusy(true);
    // The list draws only at the pauses: a view that redraws for every row it takes spends
    // most of a long refresh on drawing that nobody sees.
    list_.SetRedraw(false);
    list_.Clear();
    for (std::size_t position = 0; position < problems.size(); ++position) {
        AddRow(problems[position], position);
        if ((position + 1) % kRowsBetweenEvents == 0) {
            list_.SetRedraw(true);
            forms::RunPendingEvents();
            if (!window_.IsLoaded()) return;  // the main window went during the pause
            list_.SetRedraw(false);
        }
    }
    list_.SetRedraw(true);
    RestoreCurrentRow(currentKey);
    const std::size_t count = problems.size();
    if (count >= 1)
        count_.SetCaption(language_.Text("frmprogress_problems", "Problems:") + " " +
                          std::to_string(count));
    count_.SetVisible(count >= 1);
    window_.SetBusy(false);
}

void ProblemListView::Select(Selection selection) {
    for (int row = 1; row <= list_.Count(); ++row)
        list_.SetSelected(row, selection == Selection::All    ? true
                               : selection == Selection::None ? false
                                                              : !list_.Selected(row));
    list_.SetFocus();
}

std::optional<std::size_t> ProblemListView::CurrentProblem(std::size_t problemCount) const {
    const int row = list_.CurrentItem();
    if (row < 1 || row > list_.Count()) return std::nullopt;
    return PositionOfTag(list_.Tag(row), problemCount);
}

std::vector<std::size_t> ProblemListView::SelectedProblems(std::size_t problemCount) const {
    std::vector<std::size_t> positions;
    for (int row = 1; row <= list_.Count(); ++row) {
        if (!list_.Selected(row)) continue;
        const auto position = PositionOfTag(list_.Tag(row), problemCount);
        if (!position) break;
        positions.push_back(*position);
    }
    return positions;
}

}  // namespace app
