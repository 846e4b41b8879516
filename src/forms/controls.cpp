#include "forms/controls.h"

#include "base/text.h"
#include "forms/interaction.h"

namespace forms {

void CheckBox::SetValue(int value) {
    if (value == Value()) return;
    platform::SetCheck(Hwnd(), value);
    Clicked();
}

void OptionButton::SetValue(bool value) {
    if (value) {
        Select(!Value());
    } else {
        platform::SetCheck(Hwnd(), 0);
    }
}

void OptionButton::Select(bool fireClick) {
    for (platform::Hwnd sibling : form_->OptionButtons())
        if (sibling != Hwnd()) platform::SetCheck(sibling, 0);
    platform::SetCheck(Hwnd(), 1);
    if (fireClick && Click) Click(index_);
}

void ProgressBar::SetRange(int minimum, int maximum) {
    min_ = minimum;
    max_ = maximum;
    platform::SetProgressRange(Hwnd(), minimum, maximum);
}

void ListView::AddColumn(const std::string& text, int widthTwips) {
    platform::ListViewInsertColumn(Hwnd(), columns_++, text, Screen::ToPixelsX(widthTwips));
}

std::string ListView::ColumnText(int column) const {
    return platform::ListViewGetColumnText(Hwnd(), column - 1);
}

void ListView::SetColumnText(int column, const std::string& text) {
    platform::ListViewSetColumnText(Hwnd(), column - 1, text);
}

int ListView::ColumnWidth(int column) const {
    return platform::ListViewGetColumnWidth(Hwnd(), column - 1) * Screen::TwipsPerPixelX();
}

void ListView::SetColumnWidth(int column, int widthTwips) {
    platform::ListViewSetColumnWidth(Hwnd(), column - 1, Screen::ToPixelsX(widthTwips));
}

bool ListView::Add(const std::string& key, const std::string& text, int icon) {
    if (!rowOfKey_.emplace(base::UpperCase(key), Count() + 1).second) return false;
    platform::ListViewAppendRow(Hwnd(), text, icon);
    rows_.push_back({key, ""});
    return true;
}

void ListView::Clear() {
    platform::ListViewDeleteAllItems(Hwnd());
    rows_.clear();
    rowOfKey_.clear();
}

int ListView::FindKey(const std::string& key) const {
    const auto it = rowOfKey_.find(base::UpperCase(key));
    return it == rowOfKey_.end() ? 0 : it->second;
}

std::string ListView::Text(int row, int subItem) const {
    return platform::ListViewGetItemText(Hwnd(), row - 1, subItem);
}

void ListView::SetText(int row, int subItem, const std::string& text) {
    platform::ListViewSetItemText(Hwnd(), row - 1, subItem, text);
}

void ListView::SetSelected(int row, bool selected) {
    platform::ListViewSetSelected(Hwnd(), row - 1, selected);
}

}  // namespace forms
