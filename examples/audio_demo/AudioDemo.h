// AudioDemo: the audio example. Space plays the generated effect, M starts and stops the
// generated music, the arrow keys change the two volumes, and the state is printed on screen.
#pragma once

#include "core/CApp.h"

class AudioDemo : public CApp {
public:
    AudioDemo();
    ~AudioDemo() override;

    void Init() override;
    void MainLoop() override;
    // One frame and its input; false when the example ends.
    bool RunFrame() override;
    void Shutdown() override {}
    void Reserved1() override {}
    void Reserved2() override {}

    void RenderFrame();

private:
    // Acts on the key of this frame's key-down event; false when the demo should end.
    bool HandleInput();

    bool m_musicOn;
    int m_effectsPlayed;
};
