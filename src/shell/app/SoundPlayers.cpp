#include "shell/app/SoundPlayers.h"

#include "platform/ServiceSlots.h"

namespace vornel {

namespace {

SilentSounds g_silent;
ObjectSlot<SoundBackend> g_sounds("sound output", g_silent);

}  // namespace

SoundBackend& Sounds() { return g_sounds.Get(); }

ScopedSounds::ScopedSounds(SoundBackend& backend) : previous_(g_sounds.Exchange(&backend)) {}

ScopedSounds::~ScopedSounds() { g_sounds.Exchange(previous_); }

}  // namespace vornel
