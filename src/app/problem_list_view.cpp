#include "app/problem_list_view.h"

#include "base/text.h"

namespace app {
namespace {

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

}  // namespace

const core::Problem* ProblemListView::ProblemOfRow(int row) const {
    if (!problems_ || row < 0 || static_cast<std::size_t>(row) >= positions_.size()) return nullptr;
    const std::size_t position = positions_[row];
    return position < problems_->size() ? &(*problems_)[position] : nullptr;
}

std::string ProblemListView::RowText(int row, int column) const {
    const core::Problem* problem = ProblemOfRow(row);
    if (!problem) return "";
    switch (column) {
        case 0:
            return core::KindText(problem->kind, language_);
        case 1:
            return core::CategoryText(problem->category, language_);
        case 2:
            return problem->location;
        case 3:
            return problem->description;
    }
    return "";
}

int ProblemListView::RowIcon(int row) const {
    const core::Problem* problem = ProblemOfRow(row);
    return problem ? IconOf(problem->kind) : forms::ListView::kNoIcon;
}

// The row that was current before the refresh becomes current and visible again. A list on a
// window not shown yet takes no focus: the window's tab order gives it then.
void ProblemListView::RestoreCurrentRow(int row) {
    if (list_.Visible()) list_.SetFocus();
    if (row < 0) return;
    list_.SetCurrentItem(row + 1);
    list_.EnsureVisible(row + 1);
}

// A row for the problem unless one with its identity has one. `slots` is a table of rows by
// identity hash, open addressed, its size a power of two above the number of problems.
bool ProblemListView::AddRow(std::size_t position, std::vector<int>& slots) {
    const core::Problem& problem = (*problems_)[position];
    const std::uint64_t identity = problem.IdentityHash();
    const std::size_t mask = slots.size() - 1;
    for (std::size_t slot = identity & mask;; slot = (slot + 1) & mask) {
        int& row = slots[slot];
        if (row < 0) {
            row = static_cast<int>(positions_.size());
            positions_.push_back(position);
            identities_.push_back(identity);
            return true;
        }
        if (identities_[row] == identity &&
            base::EqualsNoCase((*problems_)[positions_[row]].Identity(), problem.Identity()))
            return false;
    }
}

void ProblemListView::Refresh(const core::Problems& problems) {
    const int current = list_.CurrentItem() - 1;
    const bool hadCurrent = current >= 0 && static_cast<std::size_t>(current) < identities_.size();
    const std::uint64_t currentIdentity = hadCurrent ? identities_[current] : 0;
    problems_ = &problems;
    positions_.clear();
    identities_.clear();
    positions_.reserve(problems.size());
    identities_.reserve(problems.size());
    std::size_t size = 2;
    while (size < 2 * problems.size())
        size *= 2;
    std::vector<int> slots(size, -1);
    int currentRow = -1;
    for (std::size_t position = 0; position < problems.size(); ++position)
        if (AddRow(position, slots) && hadCurrent && currentRow < 0 &&
            identities_.back() == currentIdentity)
            currentRow = static_cast<int>(positions_.size()) - 1;
    list_.SetRows(*this, static_cast<int>(positions_.size()));
    RestoreCurrentRow(currentRow);
    const std::size_t count = problems.size();
    if (count >= 1)
        count_.SetCaption(language_.Text("frmprogress_problems", "Problems:") + " " +
                          std::to_string(count));
    count_.SetVisible(count >= 1);
}

void ProblemListView::Select(Selection selection) {
    switch (selection) {
        case Selection::All:
        case Selection::None:
            list_.SelectAll(selection == Selection::All);
            break;
        case Selection::Invert:
            list_.InvertSelection();
            break;
    }
    list_.SetFocus();
}

std::optional<std::size_t> ProblemListView::CurrentProblem(std::size_t problemCount) const {
    const int row = list_.CurrentItem() - 1;
    if (row < 0 || static_cast<std::size_t>(row) >= positions_.size() ||
        positions_[row] >= problemCount)
        return std::nullopt;
    return positions_[row];
}

std::vector<std::size_t> ProblemListView::SelectedProblems(std::size_t problemCount) const {
    std::vector<std::size_t> positions;
    for (const int row : list_.SelectedRows()) {
        if (static_cast<std::size_t>(row) > positions_.size() ||
            positions_[row - 1] >= problemCount)
            break;
        positions.push_back(positions_[row - 1]);
    }
    return positions;
}

}  // namespace app
