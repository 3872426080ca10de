#include "settings/QuotedText.h"

#include <memory>

namespace tolvane::settings {

std::string DoubleQuoteRefusal(const std::string& label) {
    return "You cannot enter a double quote (\") in " + label +
           "!\rThe server would read the text cut short at it.";
}

void RefuseDoubleQuotes(const Context& ctx, form::TextBox& box) {
    const Context* c = &ctx;
    form::TextBox* b = &box;
    // The box's text as it was before the current change; the start text never holds a quote.
    auto accepted = std::make_shared<std::string>(box.text());
    box.changed.attach([c, b, accepted] {
        if (b->text().find('"') == std::string::npos) {
            *accepted = b->text();
            return;
        }
        c->message(DoubleQuoteRefusal(b->caption().empty() ? b->name() : b->caption()));
        b->setText(*accepted);  // runs this handler again, which accepts the old text
    });
}

}  // namespace tolvane::settings
