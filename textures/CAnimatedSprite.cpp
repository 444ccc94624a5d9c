// CAnimatedSprite: frame loading, frame timing on the engine clock, and drawing by index.
#include "textures/CAnimatedSprite.h"

#include <string>

#include "textures/CSprite.h"
#include "utils/CClock.h"

CAnimatedSprite::CAnimatedSprite()
    : frameCount(0), currentFrame(0), lastTick(CClock::GetTicks()), fps(20) {}

CAnimatedSprite::CAnimatedSprite(const char* base, unsigned int count, float x, float y)
    : frameCount(count), currentFrame(1), lastTick(CClock::GetTicks()), fps(20) {
    LoadFrames(base, count);
    position = CVector2(x, y);
}

CAnimatedSprite::~CAnimatedSprite() {
    for (CSprite* frame : frames) {
        delete frame;
    }
}

void CAnimatedSprite::LoadFrames(const char* base, unsigned int count) {
    std::string prefix = base != nullptr ? base : "";
    for (unsigned int i = 0; i < count; ++i) {
        frames.push_back(new CSprite(prefix + std::to_string(i + 1) + ".png"));
    }
    // Frames appended to an animation that started empty become playable as well.
    frameCount = static_cast<unsigned int>(frames.size());
    if (currentFrame == 0 && frameCount > 0) {
        currentFrame = 1;
    }
}

void CAnimatedSprite::DrawCurrent(float x, float y) {
    if (currentFrame >= 1) {
        DrawFrameAt(currentFrame - 1, x, y);
    }
}

bool CAnimatedSprite::StepDue() {
    float interval = 1000.0f / static_cast<float>(fps);
    // Unsigned difference first, so the tick counter's wrap-around is harmless.
    Uint32 elapsed = CClock::GetTicks() - lastTick;
    if (static_cast<float>(elapsed) > interval) {
        lastTick = CClock::GetTicks();
        return true;
    }
    return false;
}

void CAnimatedSprite::Play() {
    PlayAt(position.x, position.y);
}

void CAnimatedSprite::PlayAt(float x, float y) {
    DrawCurrent(x, y);
    if (StepDue()) {
        ++currentFrame;
        if (currentFrame > frameCount) {
            currentFrame = 1;
        }
    }
}

void CAnimatedSprite::PlayOnce() {
    PlayOnceAt(position.x, position.y);
}

void CAnimatedSprite::PlayOnceAt(float x, float y) {
    DrawCurrent(x, y);
    if (StepDue() && currentFrame < frameCount) {
        ++currentFrame;
    }
}

void CAnimatedSprite::DrawFrame(unsigned int index) {
    DrawFrameAt(index, position.x, position.y);
}

void CAnimatedSprite::DrawFrameAt(unsigned int index, float x, float y) {
    if (CSprite* frame = GetFrame(index)) {
        frame->Draw(x, y, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    }
}

CSprite* CAnimatedSprite::GetFrame(unsigned int index) const {
    return index < frames.size() ? frames[index] : nullptr;
}
