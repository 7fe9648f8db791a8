// The game's nine sounds, synthesised from fixed seeds.
#pragma once

#include "tools/datagen/wave_writer.h"

inline constexpr int kExplosionCount = 5;

// A short twin-cannon shot; side 0 is the left barrel (panned left), 1 the right.
SoundBuffer MakeShotSound(int side);
// The shield being struck: a short electric zap.
SoundBuffer MakeZapSound();
// The player bursting: a long, deep, rolling explosion.
SoundBuffer MakeBigExplosionSound();
// Enemy explosions 0 to 4, each with its own character.
SoundBuffer MakeExplosionSound(int index);
