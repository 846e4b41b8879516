// The controls that the system's windows are built from.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "forms/form.h"

namespace forms {

class Label : public Control {
  public:
    std::string Caption() const { return platform::GetWindowText(Hwnd()); }
    void SetCaption(const std::string& caption) { platform::SetWindowText(Hwnd(), caption); }
    void SetFont(int pointSize, bool bold) { platform::SetFont(Hwnd(), pointSize, bold); }

  protected:
    platform::ControlKind Kind() const override { return platform::ControlKind::Label; }
};

class Button : public Label {
  public:
    std::function<void()> Click;

  protected:
    platform::ControlKind Kind() const override { return platform::ControlKind::Button; }
    void Clicked() override {
        if (Click) Click();
    }
};

// Values 0 unchecked, 1 checked, 2 grayed.
class CheckBox : public Button {
  public:
    int Value() const { return platform::GetCheck(Hwnd()); }
    void SetValue(int value);

  protected:
    platform::ControlKind Kind() const override { return platform::ControlKind::CheckBox; }
};

// One element of a control array of option buttons; the buttons of a form are one group.
class OptionButton : public Label {
  public:
    std::function<void(int index)> Click;
    int Index() const { return index_; }
    void SetIndex(int index) { index_ = index; }
    bool Value() const { return platform::GetCheck(Hwnd()) == 1; }
    // Selecting one clears the others of the form and fires Click when it was not selected.
    void SetValue(bool value);

  protected:
    platform::ControlKind Kind() const override { return platform::ControlKind::OptionButton; }
    void Clicked() override { Select(true); }  // a click fires Click every time

  private:
    void Select(bool fireClick);
    int index_ = 0;
};

// Single selection, unsorted; items and the selection are 0-based, -1 for no selection.
class ListBox : public Control {
  public:
    void Add(const std::string& text) { platform::ListBoxAddString(Hwnd(), text); }
    void Clear() { platform::ListBoxResetContent(Hwnd()); }
    int Count() const { return platform::ListBoxGetCount(Hwnd()); }
    std::string Text(int index) const { return platform::ListBoxGetText(Hwnd(), index); }
    int Selection() const { return platform::ListBoxGetCurSel(Hwnd()); }
    void Select(int index) { platform::ListBoxSetCurSel(Hwnd(), index); }

  protected:
    platform::ControlKind Kind() const override { return platform::ControlKind::ListBox; }
};

class ProgressBar : public Control {
  public:
    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetRange(int minimum, int maximum);
    int Value() const { return platform::GetProgressPos(Hwnd()); }
    void SetValue(int value) { platform::SetProgressPos(Hwnd(), value); }

  protected:
    platform::ControlKind Kind() const override { return platform::ControlKind::ProgressBar; }

  private:
    int min_ = 0;
    int max_ = 100;
};

// Report view with several rows selectable, in owner-data mode: it shows a number of rows of
// a source that it asks for a row's texts and icon as it draws or reads the row. Rows are
// 1-based here; selecting all, none or the inverse is one call to the view.
class ListView : public Control {
  public:
    static constexpr int kNoIcon = 0;

    void AddColumn(const std::string& text, int widthTwips);
    int ColumnCount() const { return columns_; }
    std::string ColumnText(int column) const;
    void SetColumnText(int column, const std::string& text);
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int widthTwips);

    // Shows `count` rows of `rows` (0-based there), none selected or current; `rows` must stay
    // until the next call or Clear.
    void SetRows(const platform::ListViewRows& rows, int count) {
        platform::ListViewSetRows(Hwnd(), &rows, count);
    }
    void Clear() { platform::ListViewSetRows(Hwnd(), nullptr, 0); }
    int Count() const { return platform::ListViewGetItemCount(Hwnd()); }
    // Sub-item 0 is the row's text, 1 to 3 the further columns: as the view shows them.
    std::string Text(int row, int subItem = 0) const {
        return platform::ListViewGetItemText(Hwnd(), row - 1, subItem);
    }
    int Icon(int row) const { return platform::ListViewGetIcon(Hwnd(), row - 1); }
    bool Selected(int row) const { return platform::ListViewGetSelected(Hwnd(), row - 1); }
    void SetSelected(int row, bool selected) {
        platform::ListViewSetSelected(Hwnd(), row - 1, selected);
    }
    void SelectAll(bool selected) { platform::ListViewSetSelected(Hwnd(), -1, selected); }
    void InvertSelection() { platform::ListViewInvertSelection(Hwnd()); }
    std::vector<int> SelectedRows() const;                                        // in order
    int CurrentItem() const { return platform::ListViewGetCurrent(Hwnd()) + 1; }  // 0: none
    void SetCurrentItem(int row) { platform::ListViewSetCurrent(Hwnd(), row - 1); }
    void EnsureVisible(int row) { platform::ListViewEnsureVisible(Hwnd(), row - 1); }
    // A right click or the menu key: the handler gets whether it came from the keyboard.
    std::function<void(bool fromKeyboard)> ContextMenu;
    // Ctrl+A, as lists of files and mail select every row with it.
    std::function<void()> SelectAllKeys;
    // A popup menu of `items` at the pointer, or for the keyboard at the current row: the
    // chosen item's number from 1, or 0.
    int ShowMenu(const std::vector<std::string>& items, bool atPointer) const {
        return platform::ShowPopupMenu(Hwnd(), items, atPointer);
    }

  protected:
    platform::ControlKind Kind() const override { return platform::ControlKind::ListView; }
    void ContextMenuAsked(bool fromKeyboard) override {
        if (ContextMenu) ContextMenu(fromKeyboard);
    }
    void SelectAllAsked() override {
        if (SelectAllKeys) SelectAllKeys();
    }

  private:
    int columns_ = 0;
};

}  // namespace forms
