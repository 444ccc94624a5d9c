// The sprite and text marks, shared by the engine's program and the plain OpenGL reference so
// that both draw the same picture: where each sprite is in each frame, and the screen of text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

const int kMarkWidth = 1024;
const int kMarkHeight = 768;
// A 32 x 32 picture with an alpha channel, drawn blended.
const char* const kMarkSprite = "Data/MousePointer.png";
const float kMarkSpriteSize = 32.0f;
const int kTextLines = 60;
const int kTextColumns = 80;
const int kTextLineHeight = 12;

// N sprites bouncing off the window's edges, each with its own start and velocity from a fixed
// seed: the same sequence of frames in every program.
class Bouncers {
public:
    explicit Bouncers(int count) : m_x(count), m_y(count), m_dx(count), m_dy(count) {
        uint32_t seed = 12345;
        auto next = [&seed](float range) {
            seed = seed * 1664525u + 1013904223u;
            return static_cast<float>(seed >> 8) / static_cast<float>(1u << 24) * range;
        };
        for (int i = 0; i < count; ++i) {
            m_x[i] = next(kMarkWidth - kMarkSpriteSize);
            m_y[i] = next(kMarkHeight - kMarkSpriteSize);
            m_dx[i] = next(8.0f) - 4.0f;
            m_dy[i] = next(8.0f) - 4.0f;
        }
    }

    void Step() {
        for (size_t i = 0; i < m_x.size(); ++i) {
            Move(m_x[i], m_dx[i], kMarkWidth - kMarkSpriteSize);
            Move(m_y[i], m_dy[i], kMarkHeight - kMarkSpriteSize);
        }
    }

    size_t Count() const { return m_x.size(); }
    float X(size_t i) const { return m_x[i]; }
    float Y(size_t i) const { return m_y[i]; }

private:
    static void Move(float& position, float& velocity, float limit) {
        position += velocity;
        if (position < 0.0f || position > limit) {
            velocity = -velocity;
            position += 2.0f * velocity;
        }
    }

    std::vector<float> m_x;
    std::vector<float> m_y;
    std::vector<float> m_dx;
    std::vector<float> m_dy;
};

// Line `line` of the text screen: 80 printable characters that shift from line to line.
inline std::string TextLine(int line) {
    std::string text(kTextColumns, ' ');
    for (int column = 0; column < kTextColumns; ++column) {
        text[column] = static_cast<char>(33 + (line * 7 + column) % 94);
    }
    return text;
}

}  // namespace bench
