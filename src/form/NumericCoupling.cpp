#include "form/NumericCoupling.h"

#include <limits>
#include <string>

namespace tolvane::form {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool TooLarge(std::int64_t n) {
    return n < std::numeric_limits<std::int32_t>::min() || n > std::numeric_limits<std::int32_t>::max();
}

}  // namespace

std::optional<std::int64_t> ReadNumber(std::string_view text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    std::string_view s = text.substr(b, e - b);

    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }

    // Integer part, saturating well above any range a caller checks.
    constexpr std::int64_t kCap = std::numeric_limits<std::int64_t>::max() / 10 - 10;
    std::int64_t whole = 0;
    bool saturated = false;
    std::size_t i = 0;
    std::size_t digits = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i, ++digits) {
        if (whole > kCap) saturated = true;
        else whole = whole * 10 + (s[i] - '0');
    }

    // Fraction: only its relation to one half matters for the rounding.
    enum class Half { Below, Exact, Above } half = Half::Below;
    if (i < s.size() && s[i] == '.') {
        ++i;
        const std::size_t fracStart = i;
        for (; i < s.size() && IsDigit(s[i]); ++i, ++digits) {
        }
        const std::string_view frac = s.substr(fracStart, i - fracStart);
        if (!frac.empty()) {
            if (frac[0] > '5') half = Half::Above;
            else if (frac[0] == '5')
                half = frac.find_first_not_of('0', 1) == std::string_view::npos ? Half::Exact : Half::Above;
        }
    }
    if (digits == 0 || i != s.size()) return std::nullopt;

    if (saturated) return negative ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
    if (half == Half::Above || (half == Half::Exact && whole % 2 == 1)) ++whole;
    return negative ? -whole : whole;
}

std::optional<std::int32_t> ReadInt32(std::string_view text) {
    const auto n = ReadNumber(text);
    if (!n || *n < std::numeric_limits<std::int32_t>::min() || *n > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(*n);
}

void FocusAndSelect(TextBox& box) {
    if (!box.visible()) return;
    box.requestFocus();
    box.selectAll();
}

void SyncSpinnerToText(NumericField& field) {
    const auto n = ReadNumber(field.text());
    if (n && *n >= field.scroll.min() && *n <= field.scroll.max()) field.scroll.setValue(static_cast<int>(*n));
}

namespace {

void ProcessTextChange(const ShowMessage& message, TextBox& box, Spinner& spinner) {
    const auto number = ReadNumber(box.text());
    if (!number) return;

    if (TooLarge(*number)) {
        message("You cannot enter a number that large!");
        // Characters are dropped from the end until the number fits in 32 bits. The longest
        // such start of the text is found by halving, so that a number of many thousand digits
        // costs a few passes over the text rather than one pass (and one message) per digit.
        const std::string_view text = box.text();
        std::size_t fits = 0;               // the empty start is no number, so not too large
        std::size_t tooLarge = text.size();
        while (tooLarge - fits > 1) {
            const std::size_t mid = fits + (tooLarge - fits) / 2;
            const auto n = ReadNumber(text.substr(0, mid));
            if (n && TooLarge(*n)) tooLarge = mid;
            else fits = mid;
        }
        box.setText(std::string(text.substr(0, fits)));  // runs this procedure again on the shorter text
        box.selectAll();
        return;
    }

    const auto n = static_cast<std::int32_t>(*number);
    if (n > spinner.max()) {
        const std::string bound = std::to_string(spinner.max());
        message("The maximum value is " + bound);
        box.setText(bound);  // runs this procedure again, which moves the spinner to the bound
        box.selectAll();
        return;
    }
    if (n < spinner.min()) return;
    spinner.setValue(n);
}

void ProcessScrollChange(TextBox& box, Spinner& spinner) {
    const auto number = ReadNumber(box.text());
    if (number && *number == spinner.value()) return;
    // Runs ProcessTextChange, which finds the spinner already at this value.
    box.setText(std::to_string(spinner.value()));
    FocusAndSelect(box);
}

}  // namespace

void CoupleNumericField(ShowMessage message, NumericField& field) {
    SyncSpinnerToText(field);
    TextBox* box = &field.box;
    Spinner* spinner = &field.scroll;
    // The command line asks before it sets: a number the box would cut down is refused there.
    box->addTypingRule([spinner](const std::string&, const std::string& typed) {
        const auto n = ReadNumber(typed);
        if (!n || *n <= spinner->max()) return std::string();
        return TooLarge(*n) ? std::string("You cannot enter a number that large!")
                            : "The maximum value is " + std::to_string(spinner->max());
    });
    box->changed.attach([message = std::move(message), box, spinner] { ProcessTextChange(message, *box, *spinner); });
    spinner->changed.attach([box, spinner] { ProcessScrollChange(*box, *spinner); });
}

}  // namespace tolvane::form
