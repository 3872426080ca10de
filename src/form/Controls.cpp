#include "form/Controls.h"

#include <algorithm>

namespace tolvane::form {

void Control::setEnabled(bool on) {
    if (enabled_ == on) return;
    enabled_ = on;
    appearanceChanged.emit();
}

void Control::setVisible(bool on) {
    if (visible_ == on) return;
    visible_ = on;
    appearanceChanged.emit();
}

void Control::setCaption(const std::string& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    appearanceChanged.emit();
}

void Control::setToolTip(const std::string& tip) {
    if (toolTip_ == tip) return;
    toolTip_ = tip;
    appearanceChanged.emit();
}

void TextBox::setText(const std::string& text) {
    if (text_ == text) return;
    text_ = text;
    // A new text puts the caret at the start with nothing selected, as a text box does.
    selStart_ = 0;
    selLength_ = 0;
    changed.emit();
}

std::string TextBox::typingRefusal(const std::string& typed) const {
    if (!multiLine_ && typed.find_first_of("\r\n") != std::string::npos)
        return "a one-line field cannot hold a line break";
    for (const TypingRule& rule : rules_)
        if (std::string reason = rule(text_, typed); !reason.empty()) return reason;
    return {};
}

void TextBox::setSelection(int start, int length) {
    const int size = static_cast<int>(text_.size());
    start = std::clamp(start, 0, size);
    length = std::clamp(length, 0, size - start);
    selStart_ = start;
    selLength_ = length;
    selectionChanged.emit();
}

void CheckBox::setValue(int value) {
    if (value_ == value) return;
    value_ = value;
    changed.emit();
}

void Spinner::setValue(int value) {
    value = std::clamp(value, min_, max_);
    if (value_ == value) return;
    value_ = value;
    changed.emit();
}

void Spinner::setRange(int min, int max) {
    min_ = min;
    max_ = max;
    appearanceChanged.emit();
    setValue(value_);
}

NumericField::NumericField(const std::string& name, const std::string& initialText, int max, int step)
    : box(name), scroll(name + "Scroll") {
    scroll.setRange(0, max);
    scroll.setSmallChange(step);
    box.setText(initialText);
}

void Grid::clear() {
    if (rows_.empty() && current_ == -1) return;
    rows_.clear();
    fixCurrent();
    changed.emit();
}

void Grid::setText(int row, const std::string& text) {
    rows_.at(static_cast<std::size_t>(row)).text = text;
    changed.emit();
}

void Grid::setTag(int row, std::int32_t tag) {
    rows_.at(static_cast<std::size_t>(row)).tag = tag;
    changed.emit();
}

void Grid::append(const std::string& text, std::int32_t tag) {
    rows_.push_back({text, tag});
    fixCurrent();
    changed.emit();
}

void Grid::insert(int row, const std::string& text, std::int32_t tag) {
    row = std::clamp(row, 0, rowCount());
    rows_.insert(rows_.begin() + row, GridRow{text, tag});
    fixCurrent();
    changed.emit();
}

void Grid::remove(int row) {
    if (row < 0 || row >= rowCount()) return;
    rows_.erase(rows_.begin() + row);
    fixCurrent();
    changed.emit();
}

void Grid::setRows(std::vector<GridRow> rows) {
    rows_ = std::move(rows);
    fixCurrent();
    changed.emit();
}

void KeepRows(std::vector<GridRow>& rows, const std::vector<bool>& keep) {
    std::size_t write = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!keep[i]) continue;
        if (write != i) rows[write] = std::move(rows[i]);
        ++write;
    }
    rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(write), rows.end());
}

void ReserveMoreRows(std::vector<GridRow>& rows, std::size_t extra) {
    const std::size_t needed = rows.size() + extra;
    if (needed > rows.capacity()) rows.reserve(std::max(needed, 2 * rows.capacity()));
}

void GatherRows(std::vector<GridRow>& rows, const std::vector<std::uint32_t>& from) {
    std::vector<GridRow> gathered;
    gathered.reserve(from.size());
    for (const std::uint32_t f : from) gathered.push_back(std::move(rows[f]));
    rows = std::move(gathered);
}

void Grid::editRows(const std::function<void(std::vector<GridRow>&)>& edit) {
    // Whatever the edit did before a failure is what the grid holds, and the window hears of it.
    try {
        edit(rows_);
    } catch (...) {
        fixCurrent();
        changed.emit();
        throw;
    }
    fixCurrent();
    changed.emit();
}

void Grid::setCurrentRow(int row) {
    hasPicks_ = false;
    if (rows_.empty()) row = -1;
    else row = std::clamp(row, 0, rowCount() - 1);
    if (row == current_) return;
    current_ = row;
    currentChanged.emit();
}

// Keeps the current row inside the grid: -1 when empty, otherwise a valid row (the first row
// once rows appear, as a grid's cursor sits on its first cell).
void Grid::fixCurrent() {
    // Picked row numbers mean other rows once the rows changed.
    hasPicks_ = false;
    int want = current_;
    if (rows_.empty()) want = -1;
    else if (want < 0) want = 0;
    else if (want >= rowCount()) want = rowCount() - 1;
    if (want != current_) {
        current_ = want;
        currentChanged.emit();
    }
}

void Grid::pickRows(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(std::remove_if(rows.begin(), rows.end(), [this](int r) { return r < 0 || r >= rowCount(); }), rows.end());
    picked_ = std::move(rows);
    hasPicks_ = true;
}

std::vector<int> Grid::pickedRows() const {
    if (hasPicks_) return picked_;
    if (current_ < 0) return {};
    return {current_};
}

void ComboList::addItem(const std::string& text) {
    items_.push_back(text);
    changed.emit();
}

void ComboList::clear() {
    items_.clear();
    selected_ = -1;
    changed.emit();
}

void ComboList::setItems(std::vector<std::string> items) {
    items_ = std::move(items);
    selected_ = -1;
    changed.emit();
}

void ComboList::setSelectedIndex(int index) {
    if (index < -1 || index >= count()) index = -1;
    selected_ = index;
    selected.emit();
}

bool ComboList::selectText(const std::string& text) {
    for (int i = 0; i < count(); ++i) {
        if (items_[static_cast<std::size_t>(i)] == text) {
            setSelectedIndex(i);
            return true;
        }
    }
    return false;
}

std::string ComboList::text() const {
    if (selected_ < 0 || selected_ >= count()) return {};
    return items_[static_cast<std::size_t>(selected_)];
}

}  // namespace tolvane::form
