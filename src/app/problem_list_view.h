// The main window's problem list: rows rebuilt from the problems, and the selection that says
// which of them the user wants repaired.
#pragma once

#include <optional>
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

class ProblemListView {
  public:
    // `window` shows the hourglass while the list fills; `count` shows the number of problems.
    ProblemListView(forms::Form& window, forms::ListView& list, forms::Label& count,
                    const core::Language& language)
        : window_(window), list_(list), count_(count), language_(language) {}

    // One row per problem, keyed by its identity and tagged with its 0-based position; a
    // problem whose identity already has a row gets none. The current row is found again by
    // its key. The count label shows the number of problems, or hides when there are none.
    void Refresh(const core::Problems& problems);

    // Selects every row, none or the others, then gives the list the focus.
    void Select(Selection selection);

    // The positions of the problems whose rows are selected, in row order. A row whose tag
    // names no problem ends the list there: the rows no longer match the problems.
    std::vector<std::size_t> SelectedProblems(std::size_t problemCount) const;
    // The position of the problem in the current row; none without one.
    std::optional<std::size_t> CurrentProblem(std::size_t problemCount) const;

  private:
    void AddRow(const core::Problem& problem, std::size_t position);
    void RestoreCurrentRow(const std::string& key);

    forms::Form& window_;
    forms::ListView& list_;
    forms::Label& count_;
    const core::Language& language_;
};

}  // namespace app
