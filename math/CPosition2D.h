// CPosition2D: a heap-held, movable 2D position. The camera manager owns a list of these
// and translates the scene by the current one.
#pragma once

#include "math/CVector2.h"

class CPosition2D {
public:
    CPosition2D();
    CPosition2D(float x, float y);
    ~CPosition2D();

    // Each mover returns the object itself so that calls can be chained.
    CPosition2D& addX(float d);
    CPosition2D& subX(float d);
    CPosition2D& addY(float d);
    CPosition2D& subY(float d);
    CPosition2D& add(float dx, float dy);
    void set(float x, float y);

    CVector2 position;
};
