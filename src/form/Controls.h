#pragma once
// The control model. Every setting lives in the control that shows it; readers set controls,
// writers read them, and the Qt layer only mirrors them. A change fires the same notification
// whether the user or the program made it; setting a value a control already holds fires nothing.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "form/Signal.h"

namespace tolvane::form {

// What every window control shares: a name as the window names it, and the state the program
// may change (enabled, visible, caption, tool tip). `appearanceChanged` lets the UI repaint.
class Control {
public:
    explicit Control(std::string name) : name_(std::move(name)) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }

    bool enabled() const { return enabled_; }
    void setEnabled(bool on);
    bool visible() const { return visible_; }
    void setVisible(bool on);
    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption);
    const std::string& toolTip() const { return toolTip_; }
    void setToolTip(const std::string& tip);

    Signal<> appearanceChanged;

private:
    std::string name_;
    bool enabled_ = true;
    bool visible_ = true;
    std::string caption_;
    std::string toolTip_;
};

// A plain label; the text is its caption.
class Label : public Control {
public:
    using Control::Control;
};

// A button: the core connects its click handler, the UI calls click().
class Button : public Control {
public:
    using Control::Control;
    void click() { clicked.emit(); }
    Signal<> clicked;
};

// A single-line (or multi-line) text box holding 8-bit text, with a selection and a focus
// request that the UI carries out.
class TextBox : public Control {
public:
    explicit TextBox(std::string name, bool multiLine = false)
        : Control(std::move(name)), multiLine_(multiLine) {}

    const std::string& text() const { return text_; }
    // Fires `changed` when the text differs from what the box holds.
    void setText(const std::string& text);

    // A one-line box never holds a line break: the window turns one typed or pasted into a
    // blank, so text arriving by other ways (the command line) must not smuggle one in.
    bool multiLine() const { return multiLine_; }
    void setMultiLine(bool on) { multiLine_ = on; }
    // A rule of what may be typed: given the box's text now and the text typed, the reason it
    // is refused, or "" when it is taken.
    using TypingRule = std::function<std::string(const std::string& now, const std::string& typed)>;
    void addTypingRule(TypingRule rule) { rules_.push_back(std::move(rule)); }
    // Why typing `typed` into the box would be refused, or "" when it would be taken.
    std::string typingRefusal(const std::string& typed) const;

    int selStart() const { return selStart_; }
    int selLength() const { return selLength_; }
    void setSelection(int start, int length);
    void selectAll() { setSelection(0, static_cast<int>(text_.size())); }
    // Asks the UI to give this box the keyboard focus (ignored when no UI is bound).
    void requestFocus() { focusRequested.emit(); }

    Signal<> changed;            // content changed (user or program)
    Signal<> selectionChanged;   // the program moved the selection
    Signal<> focusRequested;

private:
    std::string text_;
    int selStart_ = 0;
    int selLength_ = 0;
    bool multiLine_ = false;
    std::vector<TypingRule> rules_;
};

// A check box: 0 clear, 1 ticked, 2 greyed (2 only ever comes from a file).
class CheckBox : public Control {
public:
    using Control::Control;
    int value() const { return value_; }
    void setValue(int value);
    bool ticked() const { return value_ >= 1; }
    Signal<> changed;

private:
    int value_ = 0;
};

// A vertical scroll bar used as a spinner: a 16-bit value between min and max, stepped by
// `smallChange`. Setting the value it already holds fires nothing.
class Spinner : public Control {
public:
    using Control::Control;
    int value() const { return value_; }
    // Values outside [min, max] are clamped (the platform's scroll bar cannot hold them).
    void setValue(int value);
    int min() const { return min_; }
    int max() const { return max_; }
    int smallChange() const { return step_; }
    void setRange(int min, int max);
    void setSmallChange(int step) { step_ = step; appearanceChanged.emit(); }
    // The arrow buttons: one step up or down, stopping at the bounds.
    void stepUp() { setValue(value_ + step_); }
    void stepDown() { setValue(value_ - step_); }
    Signal<> changed;

private:
    int value_ = 0;
    int min_ = 0;
    int max_ = 32767;
    int step_ = 1;
};

// A numeric field: a right-aligned text box and the spinner named after it with "Scroll".
// The text is the value the writers use; the coupling between the two is wired by
// `CoupleNumericField` (form/NumericCoupling.h) through the change notifications of both controls.
class NumericField {
public:
    NumericField(const std::string& name, const std::string& initialText, int max, int step = 1);
    NumericField(const NumericField&) = delete;
    NumericField& operator=(const NumericField&) = delete;
    TextBox box;
    Spinner scroll;
    const std::string& name() const { return box.name(); }
    const std::string& text() const { return box.text(); }
    void setText(const std::string& text) { box.setText(text); }
};

// One row of a text grid; `tag` is the 32-bit origin tag the map grids carry.
struct GridRow {
    std::string text;
    std::int32_t tag = 0;
    bool operator==(const GridRow&) const = default;
};

// Keeps the rows whose `keep` is true, in their order, moving each at most once.
void KeepRows(std::vector<GridRow>& rows, const std::vector<bool>& keep);
// Room for `extra` more rows: at least doubled when it grows, so adding rows batch after batch
// stays linear.
void ReserveMoreRows(std::vector<GridRow>& rows, std::size_t extra);
// Row k becomes the row that was at from[k], for every k; rows that no number of `from` names
// are dropped. `from` names each row at most once, each below the row count.
void GatherRows(std::vector<GridRow>& rows, const std::vector<std::uint32_t>& from);

// A one-column grid of text rows without a header. The current row is the row the user last
// clicked, -1 when the grid is empty.
class Grid : public Control {
public:
    using Control::Control;
    int rowCount() const { return static_cast<int>(rows_.size()); }
    void clear();                      // row count 0
    const std::string& text(int row) const { return rows_.at(static_cast<std::size_t>(row)).text; }
    void setText(int row, const std::string& text);
    std::int32_t tag(int row) const { return rows_.at(static_cast<std::size_t>(row)).tag; }
    void setTag(int row, std::int32_t tag);
    void append(const std::string& text, std::int32_t tag = 0);
    void insert(int row, const std::string& text, std::int32_t tag = 0);
    void remove(int row);
    const std::vector<GridRow>& rows() const { return rows_; }
    void setRows(std::vector<GridRow> rows);
    // Changes the rows in place and fires one change: for long lists where most rows stay and
    // a new list would copy every one of them. `edit` must not show anything.
    void editRows(const std::function<void(std::vector<GridRow>&)>& edit);

    int currentRow() const { return current_; }
    // Moves the current row; rows picked with pickRows are dropped.
    void setCurrentRow(int row);
    // Rows picked together in a view (several maps added at once), possibly none (a filter that
    // hides every row). Until rows are picked, and after any change of the rows or of the
    // current row, pickedRows() is the current row alone. Rows outside the grid are ignored.
    void pickRows(std::vector<int> rows);
    std::vector<int> pickedRows() const;

    Signal<> changed;          // rows changed
    Signal<> currentChanged;   // current row changed

private:
    void fixCurrent();
    std::vector<GridRow> rows_;
    int current_ = -1;
    std::vector<int> picked_;
    bool hasPicks_ = false;
};

// A drop-down list filled by the program, with a selected item (-1: none). Selecting fires
// `selected` (the window's click event) whether the user or the program selects.
class ComboList : public Control {
public:
    using Control::Control;
    int count() const { return static_cast<int>(items_.size()); }
    const std::string& item(int i) const { return items_.at(static_cast<std::size_t>(i)); }
    const std::vector<std::string>& items() const { return items_; }
    void addItem(const std::string& text);
    void clear();
    int selectedIndex() const { return selected_; }
    // Selecting fires `selected` even when the index does not change, as a click does.
    void setSelectedIndex(int index);
    // Selects the first item exactly equal to text; returns false when there is none.
    bool selectText(const std::string& text);
    // The selected item's text, or empty.
    std::string text() const;
    // Replaces all items (used by the list sort); the selection is dropped.
    void setItems(std::vector<std::string> items);

    Signal<> changed;    // items changed
    Signal<> selected;   // an item was selected

private:
    std::vector<std::string> items_;
    int selected_ = -1;
};

}  // namespace tolvane::form
