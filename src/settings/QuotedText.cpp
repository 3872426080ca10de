#include "settings/QuotedText.h"

#include <algorithm>
#include <memory>

namespace tolvane::settings {

namespace {

std::ptrdiff_t Quotes(const std::string& text) { return std::count(text.begin(), text.end(), '"'); }

// Editing a value read from a file that holds a double quote is still allowed; only a new
// double quote is refused.
bool AddsQuote(const std::string& before, const std::string& after) { return Quotes(after) > Quotes(before); }

}  // namespace

std::string DoubleQuoteRefusal(const std::string& label) {
    return "You cannot enter a double quote (\") in " + label +
           "!\rThe server would read the text cut short at it.";
}

void RefuseDoubleQuotes(const Context& ctx, form::TextBox& box, const bool& reading) {
    const Context* c = &ctx;
    form::TextBox* b = &box;
    const bool* fromFile = &reading;
    const auto label = [b] { return b->caption().empty() ? b->name() : b->caption(); };
    box.addTypingRule([label](const std::string& now, const std::string& typed) {
        return AddsQuote(now, typed) ? DoubleQuoteRefusal(label()) : std::string();
    });
    // The box's text as it was before the current change.
    auto accepted = std::make_shared<std::string>(box.text());
    box.changed.attach([c, b, fromFile, accepted, label] {
        if (*fromFile || !AddsQuote(*accepted, b->text())) {
            *accepted = b->text();
            return;
        }
        c->message(DoubleQuoteRefusal(label()));
        b->setText(*accepted);  // runs this handler again, which accepts the old text
    });
}

}  // namespace tolvane::settings
