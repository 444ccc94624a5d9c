// CClock: the engine's millisecond clock. Everything that times frames or animations reads it,
// so a test can drive time by installing its own tick source instead of sleeping.
#pragma once

#include <SDL.h>

class CClock {
public:
    typedef Uint32 (*TickSource)();

    // SDL_GetTicks unless a tick source is installed.
    static Uint32 GetTicks();
    // Null restores SDL_GetTicks.
    static void SetTickSource(TickSource source);

private:
    static TickSource s_source;
};
