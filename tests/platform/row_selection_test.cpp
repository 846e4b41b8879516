// How clicks and keys change a list's selection, step after step on one list of six rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/row_selection.h"

using platform::Modifiers;
using platform::RowSelection;

namespace {

enum class Step { Click, RightClick, Key, Space, Invert, All };

std::string Marks(const RowSelection& selection) {
    std::string marks;
    for (int row = 0; row < selection.Count(); ++row)
        marks += selection.Selected(row) ? '*' : '-';
    return marks;
}

TEST(RowSelection, ClicksAndKeysChangeTheSelectionAsAListOfSeveralSelectableRowsDoes) {
    constexpr Modifiers none, ctrl{true, false}, shift{false, true}, both{true, true};
    const struct {
        Step step;
        int row;
        Modifiers keys;
        const char* marks;
    } steps[] = {
        {Step::Click, 3, shift, "---*--"},  // no anchor yet: the row alone
        {Step::Click, 1, none, "-*----"},      {Step::Click, 4, shift, "-****-"},
        {Step::Click, 2, shift, "-**---"},     {Step::Click, 5, ctrl, "-**--*"},
        {Step::Click, 3, both, "-*****"},      {Step::Click, 4, ctrl, "-***-*"},
        {Step::RightClick, 1, none, "-***-*"}, {Step::RightClick, 4, shift, "-***-*"},
        {Step::RightClick, 4, none, "----*-"}, {Step::Key, 5, none, "-----*"},
        {Step::Key, 2, shift, "--****"},       {Step::Key, 0, ctrl, "--****"},
        {Step::Space, 0, ctrl, "*-****"},      {Step::Space, 0, ctrl, "--****"},
        {Step::Key, 4, shift, "*****-"},       {Step::Invert, 0, none, "-----*"},
        {Step::Click, -1, ctrl, "-----*"},     {Step::Click, 6, none, "------"},
        {Step::All, 0, none, "******"},        {Step::RightClick, -1, both, "------"},
        {Step::Key, 6, none, "------"},
    };
    RowSelection selection;
    selection.Reset(6);
    for (const auto& [step, row, keys, marks] : steps) {
        switch (step) {
            case Step::Click:
                selection.Click(row, keys);
                break;
            case Step::RightClick:
                selection.RightClick(row, keys);
                break;
            case Step::Key:
                selection.MovedTo(row, keys, false);
                break;
            case Step::Space:
                selection.MovedTo(row, keys, true);
                break;
            case Step::Invert:
                selection.Invert();
                break;
            case Step::All:
                selection.Set(-1, true);
                break;
        }
        const std::string now = Marks(selection);
        EXPECT_EQ(now, marks) << "after the step to row " << row;
        EXPECT_EQ(selection.SelectedCount(),
                  static_cast<int>(std::count(now.begin(), now.end(), '*')));
        std::vector<int> rows;
        for (std::size_t row = now.find('*'); row != std::string::npos;
             row = now.find('*', row + 1))
            rows.push_back(static_cast<int>(row));
        EXPECT_EQ(selection.Rows(), rows);
    }
}

}  // namespace
