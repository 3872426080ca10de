#pragma once
// The game-flag word "dmflags" as six check boxes, plus the bits no box shows, which are kept
// from the word read so that a save never clears them.
#include <cstdint>

#include "settings/ServerFields.h"

namespace tolvane::settings {

// Sums the bit values: 4 GrenadesStay ticked, 8 FallDamage clear, 32 SameMap ticked,
// 256 FriendlyFire clear, 512 SpawnFarthest ticked, 1024 ForceRespawn ticked. A box counts
// as ticked at 1 or 2 (greyed).
std::int32_t EncodeDmflags(const ServerFields& fields);

// Sets the six boxes from a flag word; other bits are ignored.
void DecodeDmflags(ServerFields& fields, std::int32_t flags);

// A word read from the file: the six boxes as DecodeDmflags, the other bits kept.
void ReadDmflags(ServerFields& fields, std::int32_t flags);
// The word to write: the six boxes' bits and the kept bits.
std::int32_t DmflagsToWrite(const ServerFields& fields);

}  // namespace tolvane::settings
