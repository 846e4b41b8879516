// The main window's problem list: the rows of the problems, and the selection that says which
// of them the user wants repaired. The list view is an owner-data one: it keeps only the rows'
// selection and current row, and asks here for what a row shows as it draws it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/language.h"
#include "core/problem.h"
#include "forms/controls.h"
#include "forms/form.h"

namespace app {

// Icons of the list's image list, by kind of problem.
constexpr int kIconRegistry = 1;
constexpr int kIconShortcut = 2;
constexpr int kIconFile = 3;

enum class Selection { All, None, Invert };

class ProblemListView : private platform::ListViewRows {
  public:
    // `count` shows the number of problems.
    ProblemListView(forms::ListView& list, forms::Label& count, const core::Language& language)
        : list_(list), count_(count), language_(language) {}
    ~ProblemListView() override { list_.Clear(); }
    ProblemListView(const ProblemListView&) = delete;
    ProblemListView& operator=(const ProblemListView&) = delete;

    // One row per problem in their order; a problem whose identity (matched without regard to
    // case) already has a row gets none. The rows show `problems` until the next refresh, which
    // must follow any change to them. The current row is found again by its identity. The count
    // label shows the number of problems, or hides when there are none.
    void Refresh(const core::Problems& problems);

    // Selects every row, none or the others (one call to the list each), then gives the list
    // the focus.
    void Select(Selection selection);

    // The positions of the problems whose rows are selected, in row order, read from the list
    // at once. A row whose problem is no longer there ends the list: the rows no longer match
    // the problems.
    std::vector<std::size_t> SelectedProblems(std::size_t problemCount) const;
    // The position of the problem in the current row; none without one.
    std::optional<std::size_t> CurrentProblem(std::size_t problemCount) const;

  private:
    bool AddRow(std::size_t position, std::vector<int>& slots);
    std::string RowText(int row, int column) const override;
    int RowIcon(int row) const override;
    const core::Problem* ProblemOfRow(int row) const;
    void RestoreCurrentRow(int row);

    forms::ListView& list_;
    forms::Label& count_;
    const core::Language& language_;
    const core::Problems* problems_ = nullptr;
    std::vector<std::size_t> positions_;  // the problem of each row
    // The identity hash of each row, kept for the current row's problem, which may be gone or
    // changed when the next refresh looks for it. Two identities that share a hash would only
    // misplace the current row.
    std::vector<std::uint64_t> identities_;
};

}  // namespace app
