#pragma once
// Helpers over the list controls: the two list sorts, ascending by character code (capitals
// before small letters), and the exact item lookup of a drop-down list.
#include <string>

#include "form/Controls.h"
#include "form/ShowMessage.h"

namespace tolvane::form {

// Sorts a grid's rows by text. Each row's origin tag moves with its text, so a map keeps its
// origin however the list is ordered. Equal texts keep their order.
void SortGrid(Grid& grid);

// Sorts a drop-down list's items. A list of more than 101 items is left unsorted and a message
// naming the list ("Team1Model too large to be sorted!") is shown.
void SortList(const ShowMessage& message, ComboList& list);

// True when some item of the list is exactly (case included) equal to text.
bool InComboBox(const ComboList& list, const std::string& text);

}  // namespace tolvane::form
