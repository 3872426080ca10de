#pragma once
// The order of a list of names ascending by byte value (unsigned), equal names keeping their
// places: what a stable sort gives, found for a hundred thousand names without comparing
// strings one pair at a time (std::stable_sort over row numbers makes the start-up of 100,000
// maps about a quarter slower).
#include <cstdint>
#include <string_view>
#include <vector>

#include "form/Controls.h"

namespace tolvane::maps {

// Positions of grid rows in that order, by their texts or by the map names they stand for
// (MapKey), read from the rows in place. When asked, equalToPrevious tells for each place in
// the order whether its name equals the one before.
enum class RowKey { Text, MapName };
std::vector<std::uint32_t> StableRowOrder(const std::vector<form::GridRow>& rows, RowKey key,
                                          std::vector<bool>* equalToPrevious = nullptr);

}  // namespace tolvane::maps
