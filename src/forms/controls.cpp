#include "forms/controls.h"

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

std::vector<int> ListView::SelectedRows() const {
    std::vector<int> rows = platform::ListViewGetSelectedRows(Hwnd());
    for (int& row : rows)
        ++row;
    return rows;
}

}  // namespace forms
