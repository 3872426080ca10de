#include "form/Form.h"

#include <charconv>

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

std::string Form::set(const std::string& name, const std::string& value) {
    for (auto& e : entries_) {
        std::string result = "-";
        std::visit(Overloaded{
                       [&](TextBox* c) {
                           if (c->name() == name) { c->setText(value); result.clear(); }
                       },
                       [&](CheckBox* c) {
                           if (c->name() != name) return;
                           int v = 0;
                           if (!ParseInt(value, v) || v < 0 || v > 2) result = "a check box takes 0, 1 or 2";
                           else { c->setValue(v); result.clear(); }
                       },
                       [&](NumericField* c) {
                           if (c->name() == name) { c->setText(value); result.clear(); return; }
                           if (c->scroll.name() != name) return;
                           int v = 0;
                           if (!ParseInt(value, v)) result = "a spinner takes a whole number";
                           else { c->scroll.setValue(v); result.clear(); }
                       },
                       [&](ComboList* c) {
                           if (c->name() != name) return;
                           if (c->selectText(value)) result.clear();
                           else result = "no item \"" + value + "\" in the list";
                       },
                       [&](Spinner* c) {
                           if (c->name() != name) return;
                           int v = 0;
                           if (!ParseInt(value, v)) result = "a spinner takes a whole number";
                           else { c->setValue(v); result.clear(); }
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

template <typename C>
C* Form::find(const std::string& name) const {
    for (const auto& e : entries_) {
        if (auto* const* c = std::get_if<C*>(&e.control); c && (*c)->name() == name) return *c;
    }
    return nullptr;
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
