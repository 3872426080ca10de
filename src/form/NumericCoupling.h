#pragma once
// The numeric field: a text box and its spinner kept in step. The text is the value the writers
// use; the spinner follows it when it holds a number within the bounds, and typing a number
// above the upper bound is refused with a message. One coupling serves every numeric pair of
// the program (server settings, plug-in settings, the ban dialog).
#include <cstdint>
#include <optional>
#include <string_view>

#include "form/Controls.h"
#include "form/ShowMessage.h"

namespace tolvane::form {

// Reads a text as a number: optional surrounding blanks (spaces or tabs), an optional sign,
// decimal digits with an optional fraction ("12", "-5", "+3", "12.5", "12.", ".5"). No
// exponents and no digit-group separators. The result is rounded to the nearest integer, a
// half going to the even neighbour ("2.5" -> 2, "3.5" -> 4). Values too large for 64 bits
// saturate at the 64-bit limits, so callers only need to compare against their own range.
// Nothing when the text is not a number. The coupling, the readers and the writers all use
// this one test.
std::optional<std::int64_t> ReadNumber(std::string_view text);

// The number's integer value when it reads as a number and fits in 32 signed bits.
std::optional<std::int32_t> ReadInt32(std::string_view text);

// True when the text reads as a number.
inline bool IsNumber(std::string_view text) { return ReadNumber(text).has_value(); }

// Gives a visible box the focus and selects its whole text, so typing replaces the value.
void FocusAndSelect(TextBox& box);

// Moves the spinner to the box's number when that lies within the spinner's bounds (used once,
// so that a field starts with box and spinner showing the same value).
void SyncSpinnerToText(NumericField& field);

// Couples one numeric field, after bringing the spinner to the box's start value:
// - the box's text changed: moves the spinner to the number, or refuses a number above the
//   upper bound ("The maximum value is N", the text becomes N, all selected) or one too large
//   for 32 bits ("You cannot enter a number that large!" once, then characters are removed from
//   the end until the number fits). Text that is not a number, or a number below the lower
//   bound, is left alone and the spinner keeps its value;
// - the spinner's value changed: unless the box already shows that number, the box gets the
//   value as its text and is focused with its whole text selected;
// - typing a number above the upper bound is refused before it reaches the box.
// `message` is kept by the connections; what it refers to must outlive them.
void CoupleNumericField(ShowMessage message, NumericField& field);

}  // namespace tolvane::form
