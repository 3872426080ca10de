#pragma once
// The game-flag word "dmflags" as six check boxes. Only the six bits the boxes stand for are
// kept; every other bit of the word is dropped when it is read.
#include <cstdint>

#include "settings/ServerFields.h"

namespace tolvane::settings {

// Sums the bit values: 4 GrenadesStay ticked, 8 FallDamage clear, 32 SameMap ticked,
// 256 FriendlyFire clear, 512 SpawnFarthest ticked, 1024 ForceRespawn ticked. A box counts
// as ticked at 1 or 2 (greyed).
std::int32_t EncodeDmflags(const ServerFields& fields);

// Sets the six boxes from a flag word; other bits are ignored.
void DecodeDmflags(ServerFields& fields, std::int32_t flags);

}  // namespace tolvane::settings
