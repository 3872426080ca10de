#include "settings/Dmflags.h"

namespace tolvane::settings {

namespace {
constexpr std::int32_t kWeaponsStay = 4;
constexpr std::int32_t kNoFalling = 8;
constexpr std::int32_t kSameLevel = 32;
constexpr std::int32_t kNoFriendlyFire = 256;
constexpr std::int32_t kSpawnFarthest = 512;
constexpr std::int32_t kForceRespawn = 1024;
constexpr std::int32_t kBoxBits = kWeaponsStay | kNoFalling | kSameLevel | kNoFriendlyFire | kSpawnFarthest | kForceRespawn;
}  // namespace

std::int32_t EncodeDmflags(const ServerFields& f) {
    std::int32_t flags = 0;
    if (f.GrenadesStay.ticked()) flags += kWeaponsStay;
    if (!f.FallDamage.ticked()) flags += kNoFalling;
    if (f.SameMap.ticked()) flags += kSameLevel;
    if (!f.FriendlyFire.ticked()) flags += kNoFriendlyFire;
    if (f.SpawnFarthest.ticked()) flags += kSpawnFarthest;
    if (f.ForceRespawn.ticked()) flags += kForceRespawn;
    return flags;
}

void DecodeDmflags(ServerFields& f, std::int32_t flags) {
    const auto has = [flags](std::int32_t bit) { return (flags & bit) != 0; };
    f.GrenadesStay.setValue(has(kWeaponsStay) ? 1 : 0);
    f.FallDamage.setValue(has(kNoFalling) ? 0 : 1);
    f.SameMap.setValue(has(kSameLevel) ? 1 : 0);
    f.FriendlyFire.setValue(has(kNoFriendlyFire) ? 0 : 1);
    f.SpawnFarthest.setValue(has(kSpawnFarthest) ? 1 : 0);
    f.ForceRespawn.setValue(has(kForceRespawn) ? 1 : 0);
}

void ReadDmflags(ServerFields& f, std::int32_t flags) {
    DecodeDmflags(f, flags);
    f.dmflagsOtherBits = flags & ~kBoxBits;
}

std::int32_t DmflagsToWrite(const ServerFields& f) { return EncodeDmflags(f) | (f.dmflagsOtherBits & ~kBoxBits); }

}  // namespace tolvane::settings
