#include "model/problem_list.h"

#include <string>

#include "core/translate.h"
#include "model/item.h"
#include "ui/controls.h"
#include "ui/interaction.h"

namespace {

constexpr int kRowsBetweenEvents = 100;

const ProblemListView* theView = nullptr;

int IconOf(long type) {
    switch (type) {
        case kTypeRegistry:
            return kIconRegistry;
        case kTypeShortcut:
            return kIconShortcut;
        case kTypeFile:
            return kIconFile;
        default:
            return ui::ListView::kNoIcon;
    }
}

// Appends the record's row; a record whose UID already has one gets none.
void AddRow(ui::ListView& list, const clsItem& item, int position) {
    if (!list.Add(item.UID(), item.pTypeName(), IconOf(item.pType()))) return;
    const int row = list.Count();
    list.SetTag(row, std::to_string(position));
    list.SetText(row, 1, item.pStatusName());
    list.SetText(row, 2, item.pName());
    list.SetText(row, 3, item.pDescription);
}

// The row whose key was current before the refresh becomes current and visible again.
// A list on a window not shown yet takes no focus: the window's tab order gives it then.
void RestoreCurrentRow(ui::ListView& list, const std::string& key) {
    if (list.Visible()) list.SetFocus();
    if (key.empty()) return;
    if (const int row = list.FindKey(key); row != 0) {
        list.SetCurrentItem(row);
        list.EnsureVisible(row);
    }
}

void ShowCount(ui::Label& info) {
    const int count = colProblems.Count();
    if (count >= 1) {
        info.SetCaption(Translate("frmprogress_problems", "Problems:") + " " +
                        std::to_string(count));
    }
    info.SetVisible(count >= 1);
}

}  // namespace

void SetProblemListView(const ProblemListView* view) {
    theView = view;
}

void RefreshList() {
    if (!theView) return;
    ui::ListView& list = theView->lstMain;
    std::string currentKey;
    if (const int current = list.CurrentItem(); current != 0 && current <= list.Count())
        currentKey = list.Key(current);
    theView->window.SetMousePointer(ui::kHourglass);
    // The list draws only at the pauses: a view that redraws for every row it takes spends
    // most of a long refresh on drawing that nobody sees.
    list.SetRedraw(false);
    list.Clear();
    // By position, not by iterator: the events of the pauses may change the collection.
    for (int position = 1; position <= colProblems.Count(); ++position) {
        AddRow(list, *colProblems.Item(position), position);
        if (position % kRowsBetweenEvents == 0) {
            list.SetRedraw(true);
            ui::DoEvents();
            if (!theView) return;  // the main window went during the pause
            list.SetRedraw(false);
        }
    }
    list.SetRedraw(true);
    RestoreCurrentRow(list, currentKey);
    ShowCount(theView->lblInfo);
    theView->window.SetMousePointer(ui::kDefaultPointer);
}

void SelectRows(int mode) {
    if (!theView) return;
    ui::ListView& list = theView->lstMain;
    if (mode == kSelectAll || mode == kSelectNone || mode == kSelectInvert) {
        for (int row = 1; row <= list.Count(); ++row)
            list.SetSelected(row, mode == kSelectAll    ? true
                                  : mode == kSelectNone ? false
                                                        : !list.Selected(row));
    }
    list.SetFocus();
}
