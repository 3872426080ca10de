#pragma once
// The two list sorts: grid rows and drop-down items, ascending by character code (capitals
// before small letters).
#include <cstdint>
#include <vector>

#include "form/Controls.h"
#include "state/AppState.h"

namespace tolvane::maps {

// Sorts a grid's rows by text. Each row's origin tag moves with its text, so a map keeps its
// origin however the list is ordered.
void SortGrid(form::Grid& grid);

// Sorts a drop-down list's items. A list of more than 101 items is left unsorted and a message
// naming the list ("Team1Model too large to be sorted!") is shown.
void SortList(const Context& ctx, form::ComboList& list);

}  // namespace tolvane::maps
