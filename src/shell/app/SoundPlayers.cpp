#include "shell/app/SoundPlayers.h"

namespace vornel {

namespace {

SilentSounds g_silent;
SoundBackend* g_sounds = &g_silent;

}  // namespace

SoundBackend& Sounds() { return *g_sounds; }

ScopedSounds::ScopedSounds(SoundBackend& backend) : previous_(g_sounds) { g_sounds = &backend; }

ScopedSounds::~ScopedSounds() { g_sounds = previous_; }

}  // namespace vornel
