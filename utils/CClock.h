/// @file
/// CClock: the engine's millisecond clock.
#pragma once

#include <SDL.h>

/// The engine's millisecond clock. Everything that times frames or animations reads it, so a
/// test can drive time by installing its own tick source instead of sleeping.
class CClock {
public:
    /// A function giving the milliseconds since some fixed start.
    typedef Uint32 (*TickSource)();

    /// SDL_GetTicks unless a tick source is installed.
    static Uint32 GetTicks();
    /// Null restores SDL_GetTicks.
    static void SetTickSource(TickSource source);

private:
    static TickSource s_source;
};
