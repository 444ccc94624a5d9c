// CClock: millisecond ticks with a replaceable source.
#include "utils/CClock.h"

CClock::TickSource CClock::s_source = nullptr;

Uint32 CClock::GetTicks() {
    return s_source != nullptr ? s_source() : SDL_GetTicks();
}

void CClock::SetTickSource(TickSource source) {
    s_source = source;
}
