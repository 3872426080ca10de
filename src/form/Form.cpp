#include "form/Form.h"

#include <charconv>
#include <functional>


namespace tolvane::form {

namespace {

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

// Multi-line values (the MOTD) print with their line ends escaped so that each item keeps
// to one line: backslash, CR and LF become \\, \r and \n.
std::string OneLine(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out;
}

bool ParseInt(const std::string& s, int& v) {
    const char* end = s.data() + s.size();
    auto [p, ec] = std::from_chars(s.data(), end, v);
    return ec == std::errc() && p == end;
}

}  // namespace

void Form::dump(std::ostream& out) const {
    for (const auto& e : entries_) {
        std::visit(Overloaded{
                       [&](TextBox* c) { out << c->name() << '=' << OneLine(c->text()) << '\n'; },
                       [&](CheckBox* c) { out << c->name() << '=' << c->value() << '\n'; },
                       [&](NumericField* c) {
                           out << c->name() << '=' << OneLine(c->text()) << '\n';
                           out << c->scroll.name() << '=' << c->scroll.value() << '\n';
                       },
                       [&](ComboList* c) {
                           out << c->name() << '=' << OneLine(c->text()) << '\n';
                           out << c->name() << ".count=" << c->count() << '\n';
                           for (int i = 0; i < c->count(); ++i)
                               out << c->name() << '[' << i << "]=" << OneLine(c->item(i)) << '\n';
                       },
                       [&](Grid* c) {
                           out << c->name() << ".count=" << c->rowCount() << '\n';
                           for (int i = 0; i < c->rowCount(); ++i) {
                               out << c->name() << '[' << i << "]=" << OneLine(c->text(i)) << '\n';
                               if (e.withTags) out << c->name() << '[' << i << "].tag=" << c->tag(i) << '\n';
                           }
                       },
                       [&](Spinner* c) { out << c->name() << '=' << c->value() << '\n'; },
                       [&](Label*) {},
                       [&](Button*) {},
                   },
                   e.control);
    }
    for (const Control* c : tracked_) {
        out << c->name() << ".enabled=" << (c->enabled() ? 1 : 0) << '\n';
        out << c->name() << ".visible=" << (c->visible() ? 1 : 0) << '\n';
        if (!c->caption().empty()) out << c->name() << ".caption=" << OneLine(c->caption()) << '\n';
    }
}

namespace {

// Folds values into a digest one at a time; each string is hashed whole, so the boundaries
// between values count ("ab","c" differs from "a","bc").
class Digest {
public:
    void add(std::uint64_t v) {
        h_ ^= v + 0x9E3779B97F4A7C15ULL + (h_ << 6) + (h_ >> 2);
        h_ *= 0xFF51AFD7ED558CCDULL;
        h_ ^= h_ >> 33;
    }
    // A string and a number in one step (a grid row and its tag): the hash of the bytes, the
    // length and the number folded into one word, so a long grid costs one step a row.
    void add(const std::string& s, std::uint64_t with = 0) {
        add(std::hash<std::string>{}(s) + s.size() * 0x9E3779B97F4A7C15ULL + with * 0xC2B2AE3D27D4EB4FULL);
    }
    std::uint64_t value() const { return h_; }

private:
    std::uint64_t h_ = 0xCBF29CE484222325ULL;
};

}  // namespace

std::size_t Form::watchedCount() const { return entries_.size() + tracked_.size(); }

std::uint64_t Form::digestOf(std::size_t k) const {
    Digest d;
    if (k >= entries_.size()) {
        const Control* c = tracked_.at(k - entries_.size());
        d.add(c->enabled() ? 1 : 0);
        d.add(c->visible() ? 1 : 0);
        d.add(c->caption());
        return d.value();
    }
    const Entry& e = entries_[k];
    std::visit(Overloaded{
                   [&](TextBox* c) { d.add(c->text()); },
                   [&](CheckBox* c) { d.add(static_cast<std::uint64_t>(c->value())); },
                   [&](NumericField* c) {
                       d.add(c->text());
                       d.add(static_cast<std::uint64_t>(c->scroll.value()));
                   },
                   [&](ComboList* c) {
                       d.add(c->text());
                       d.add(static_cast<std::uint64_t>(c->count()));
                       for (const auto& item : c->items()) d.add(item);
                   },
                   [&](Grid* c) {
                       d.add(static_cast<std::uint64_t>(c->rowCount()));
                       for (const auto& row : c->rows())
                           d.add(row.text, e.withTags ? static_cast<std::uint64_t>(static_cast<std::uint32_t>(row.tag)) + 1 : 0);
                   },
                   [&](Spinner* c) { d.add(static_cast<std::uint64_t>(c->value())); },
                   [&](Label*) {},
                   [&](Button*) {},
               },
               e.control);
    return d.value();
}

int Form::rowCountOf(std::size_t k) const {
    if (k >= entries_.size()) return -1;
    const Grid* const* grid = std::get_if<Grid*>(&entries_[k].control);
    return grid ? (*grid)->rowCount() : -1;
}

std::vector<Connection> Form::watch(const std::function<void(std::size_t)>& touched) const {
    std::vector<Connection> out;
    for (std::size_t k = 0; k < entries_.size(); ++k) {
        auto hear = [touched, k] { touched(k); };
        std::visit(Overloaded{
                       [&](TextBox* c) { out.push_back(c->changed.connect(hear)); },
                       [&](CheckBox* c) { out.push_back(c->changed.connect(hear)); },
                       [&](NumericField* c) {
                           out.push_back(c->box.changed.connect(hear));
                           out.push_back(c->scroll.changed.connect(hear));
                       },
                       [&](ComboList* c) {
                           out.push_back(c->changed.connect(hear));
                           out.push_back(c->selected.connect(hear));
                       },
                       [&](Grid* c) { out.push_back(c->changed.connect(hear)); },
                       [&](Spinner* c) { out.push_back(c->changed.connect(hear)); },
                       [&](Label*) {},
                       [&](Button*) {},
                   },
                   entries_[k].control);
    }
    for (std::size_t t = 0; t < tracked_.size(); ++t)
        out.push_back(tracked_[t]->appearanceChanged.connect([touched, k = entries_.size() + t] { touched(k); }));
    return out;
}

namespace {

// What a spinner takes: a whole number.
std::string SpinnerRefusal(const std::string& value) {
    int v = 0;
    return ParseInt(value, v) ? std::string() : std::string("a spinner takes a whole number");
}

}  // namespace

std::string Form::checkSet(const std::string& name, const std::string& value) const {
    for (const auto& e : entries_) {
        std::string result = "-";
        std::visit(Overloaded{
                       [&](TextBox* c) {
                           if (c->name() == name) result = c->typingRefusal(value);
                       },
                       [&](CheckBox* c) {
                           if (c->name() != name) return;
                           int v = 0;
                           result = !ParseInt(value, v) || v < 0 || v > 2 ? "a check box takes 0, 1 or 2" : "";
                       },
                       [&](NumericField* c) {
                           if (c->name() == name) result = c->box.typingRefusal(value);
                           else if (c->scroll.name() == name) result = SpinnerRefusal(value);
                       },
                       [&](ComboList* c) {
                           // The items may change before the value is set; they are looked up then.
                           if (c->name() == name) result.clear();
                       },
                       [&](Spinner* c) {
                           if (c->name() == name) result = SpinnerRefusal(value);
                       },
                       [&](Grid* c) {
                           if (c->name() == name) result = "a grid cannot be set from the command line";
                       },
                       [&](Label*) {},
                       [&](Button*) {},
                   },
                   e.control);
        if (result != "-") return result;
    }
    return "no control named " + name;
}

std::string Form::set(const std::string& name, const std::string& value) {
    if (std::string problem = checkSet(name, value); !problem.empty()) return problem;
    for (auto& e : entries_) {
        std::string result = "-";
        std::visit(Overloaded{
                       [&](TextBox* c) {
                           if (c->name() == name) { c->setText(value); result.clear(); }
                       },
                       [&](CheckBox* c) {
                           if (c->name() == name) { c->setValue(std::stoi(value)); result.clear(); }
                       },
                       [&](NumericField* c) {
                           if (c->name() == name) { c->setText(value); result.clear(); }
                           else if (c->scroll.name() == name) { c->scroll.setValue(std::stoi(value)); result.clear(); }
                       },
                       [&](ComboList* c) {
                           if (c->name() != name) return;
                           if (c->selectText(value)) result.clear();
                           else result = "no item \"" + value + "\" in the list";
                       },
                       [&](Spinner* c) {
                           if (c->name() == name) { c->setValue(std::stoi(value)); result.clear(); }
                       },
                       [&](Grid*) {},
                       [&](Label*) {},
                       [&](Button*) {},
                   },
                   e.control);
        if (result != "-") return result;
    }
    return "no control named " + name;
}

template <typename C>
C* Form::find(const std::string& name) const {
    for (const auto& e : entries_) {
        if (auto* const* c = std::get_if<C*>(&e.control); c && (*c)->name() == name) return *c;
    }
    return nullptr;
}

std::string Form::checkSelectRow(const std::string& name, const std::string& row) const {
    if (!find<Grid>(name)) return "no grid named " + name;
    int n = 0;
    if (!ParseInt(row, n) || n < 0) return "no row " + row + " (rows are counted from 0)";
    return {};
}

std::string Form::checkPick(const std::string& name) const {
    return find<ComboList>(name) ? std::string() : "no drop-down list named " + name;
}

std::string Form::checkClick(const std::string& name) const {
    return find<Button>(name) ? std::string() : "no button named " + name;
}

std::string Form::selectRow(const std::string& name, const std::string& row) {
    Grid* grid = find<Grid>(name);
    if (!grid) return "no grid named " + name;
    int n = 0;
    if (!ParseInt(row, n) || n < 0 || n >= grid->rowCount())
        return "no row " + row + " (the grid has " + std::to_string(grid->rowCount()) + " rows)";
    grid->setCurrentRow(n);
    return {};
}

std::string Form::pick(const std::string& name, const std::string& text) {
    ComboList* list = find<ComboList>(name);
    if (!list) return "no drop-down list named " + name;
    if (!list->selectText(text)) return "no item \"" + text + "\" in the list";
    return {};
}

std::string Form::click(const std::string& name) {
    Button* button = find<Button>(name);
    if (!button) return "no button named " + name;
    if (!button->enabled() || !button->visible()) return "the button " + name + " cannot be pressed now";
    button->click();
    return {};
}

}  // namespace tolvane::form
