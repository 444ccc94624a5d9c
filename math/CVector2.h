// CVector2: a plain two-float value used for every 2D position in the engine
// (sprites, widgets, camera offsets).
#pragma once

class CVector2 {
public:
    CVector2() : x(0.0f), y(0.0f) {}
    CVector2(float x_, float y_) : x(x_), y(y_) {}

    float x;
    float y;
};
