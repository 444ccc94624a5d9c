/// @file
/// CPosition2D: a heap-held, movable 2D position.
#pragma once

#include "math/CVector2.h"

/// A heap-held, movable 2D position. The camera manager owns a list of these and translates the
/// scene by the current one.
///
/// Create one with new and hand it to CCameraManager::AddCamera, which owns it from then on
/// (keep the pointer only to move it; never delete it).
class CPosition2D {
public:
    /// At (0, 0).
    CPosition2D();
    /// At (x, y).
    CPosition2D(float x, float y);
    /// Nothing to release.
    ~CPosition2D();

    /// Each mover returns the object itself so that calls can be chained.
    ///
    /// They add d to x, subtract it from x, add it to y, subtract it from y, and add (dx, dy).
    /// @{
    CPosition2D& addX(float d);
    CPosition2D& subX(float d);
    CPosition2D& addY(float d);
    CPosition2D& subY(float d);
    CPosition2D& add(float dx, float dy);
    /// @}
    /// Moves to (x, y).
    void set(float x, float y);

    /// The position itself.
    CVector2 position;
};
