// CAnimatedSprite: a numbered sequence of image files (base name + n + ".png", n from 1) played
// as an animation at a frame rate, or used as a set of pictures picked by index. The GUI builds
// its button pictures from these.
#pragma once

#include <SDL.h>

#include <vector>

#include "math/CVector2.h"

class CSprite;

class CAnimatedSprite {
public:
    // No frames: every play and draw operation draws nothing.
    CAnimatedSprite();
    // Loads count frames from base1.png .. base<count>.png and places the animation at (x, y).
    CAnimatedSprite(const char* base, unsigned int count, float x, float y);
    // The animation owns its frames and destroys them with itself.
    ~CAnimatedSprite();

    CAnimatedSprite(const CAnimatedSprite&) = delete;
    CAnimatedSprite& operator=(const CAnimatedSprite&) = delete;

    // Appends count frames; a file that fails to load still takes its place, unloaded, so the
    // numbering of the later frames does not shift.
    void LoadFrames(const char* base, unsigned int count);

    // The play operations draw the current frame first and then step on when more than
    // 1000 / fps milliseconds have passed since the last step: Play wraps round to frame 1,
    // PlayOnce stops at the last frame until Rewind.
    void Play();
    void PlayAt(float x, float y);
    void PlayOnce();
    void PlayOnceAt(float x, float y);

    // Frame indices count from 0 here, while the current frame of the play operations counts
    // from 1. An index past the last frame draws nothing.
    void DrawFrame(unsigned int index);
    void DrawFrameAt(unsigned int index, float x, float y);

    void Rewind() { currentFrame = 1; }
    // Null for an index past the last frame.
    CSprite* GetFrame(unsigned int index) const;
    unsigned int GetFrameCount() const { return frameCount; }
    // 1-based; 0 only for an animation that never had frames.
    unsigned int GetCurrentFrame() const { return currentFrame; }

    // 0 stops the animation where it is.
    void SetFps(unsigned int rate) { fps = rate; }
    unsigned int GetFps() const { return fps; }

    void SetPosition(float x, float y) { position = CVector2(x, y); }
    float GetX() const { return position.x; }
    float GetY() const { return position.y; }
    void SetX(float x) { position.x = x; }
    void SetY(float y) { position.y = y; }

private:
    void DrawCurrent(float x, float y);
    // True, with lastTick renewed, when a frame step is due.
    bool StepDue();

    std::vector<CSprite*> frames;
    unsigned int frameCount;
    unsigned int currentFrame;
    CVector2 position;
    Uint32 lastTick;
    unsigned int fps;
};
