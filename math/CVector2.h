/// @file
/// CVector2: the two-float value type of 2D positions.
#pragma once

/// A plain two-float value used for every 2D position in the engine
/// (sprites, widgets, camera offsets).
class CVector2 {
public:
    /// (0, 0).
    CVector2() : x(0.0f), y(0.0f) {}
    /// (x_, y_).
    CVector2(float x_, float y_) : x(x_), y(y_) {}

    /// The components; in screen terms x runs right and y down, in pixels.
    /// @{
    float x;
    float y;
    /// @}
};
