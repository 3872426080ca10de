#pragma once
// The list of a window's controls in window order, by name. The command line uses it to print
// the state (`--dump`) and to set a control by name as a user's typing would (`--set`).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

#include "form/Controls.h"

namespace tolvane::form {

class Form {
public:
    void add(TextBox& c) { entries_.push_back({&c, false}); }
    void add(CheckBox& c) { entries_.push_back({&c, false}); }
    void add(NumericField& c) { entries_.push_back({&c, false}); }
    void add(ComboList& c) { entries_.push_back({&c, false}); }
    // A spinner standing on its own (not part of a numeric field).
    void add(Spinner& c) { entries_.push_back({&c, false}); }
    // Grids with origin tags print each row's tag as well.
    void add(Grid& c, bool withTags = false) { entries_.push_back({&c, withTags}); }
    // Labels and buttons are listed only for their enabled, visible and caption state.
    void add(Label& c) { entries_.push_back({&c, false}); }
    void add(Button& c) { entries_.push_back({&c, false}); }
    // Controls whose enabled/visible/caption state the program changes: printed with
    // Name.enabled, Name.visible and Name.caption.
    void trackAppearance(Control& c) { tracked_.push_back(&c); }

    // Prints one `Name=value` line per item (see the README for the format).
    void dump(std::ostream& out) const;
    // A 64-bit digest of what dump prints of one control, made without printing: comparing two
    // digests tells whether its value changed, cheaply even with a hundred thousand grid rows.
    // Items are the controls in the order added, then the tracked appearances. digestOf(k) is
    // the digest of item k; rowCountOf(k) its row count when it is a grid (a cheaper first
    // comparison), else -1.
    std::size_t watchedCount() const;
    std::uint64_t digestOf(std::size_t k) const;
    int rowCountOf(std::size_t k) const;
    // Calls touched(k) whenever item k fires a change; the connections end the watch.
    std::vector<Connection> watch(const std::function<void(std::size_t)>& touched) const;
    // Sets the control called name from text as a user would: text boxes and numeric fields take
    // the text (a spinner "NameScroll" takes a number), check boxes 0, 1 or 2, drop-down lists
    // select the item with that text. Returns an empty string, or the reason it failed.
    // A text the box would refuse if typed (a line break in a one-line box, a character the
    // field cannot hold) is refused here too, and the control keeps its value.
    std::string set(const std::string& name, const std::string& value);
    // Why set(name, value) would fail, changing nothing; "" when it would succeed as far as the
    // control and its rules tell. A drop-down list's items are looked up only when it is set,
    // as earlier steps may change them.
    std::string checkSet(const std::string& name, const std::string& value) const;
    // Why selectRow, pick or click could never succeed: no such control, or a row that is no
    // row number. Whether the row exists, the item is listed or the button can be pressed
    // depends on the state when they run.
    std::string checkSelectRow(const std::string& name, const std::string& row) const;
    std::string checkPick(const std::string& name) const;
    std::string checkClick(const std::string& name) const;
    // What a click does: makes row `row` (counted from 0) of the grid called name its current
    // row; chooses the item with that text in the drop-down list called name; presses the
    // button called name. Each returns an empty string, or the reason it failed.
    std::string selectRow(const std::string& name, const std::string& row);
    std::string pick(const std::string& name, const std::string& text);
    std::string click(const std::string& name);

private:
    template <typename C>
    C* find(const std::string& name) const;
    using Ptr = std::variant<TextBox*, CheckBox*, NumericField*, ComboList*, Spinner*, Grid*, Label*, Button*>;
    struct Entry {
        Ptr control;
        bool withTags;
    };
    std::vector<Entry> entries_;
    std::vector<Control*> tracked_;
};

}  // namespace tolvane::form
