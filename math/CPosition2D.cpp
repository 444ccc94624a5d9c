// CPosition2D: movable 2D position held by the camera manager.
#include "math/CPosition2D.h"

CPosition2D::CPosition2D() {}

CPosition2D::CPosition2D(float x, float y) {
    position.x = x;
    position.y = y;
}

CPosition2D::~CPosition2D() {}

CPosition2D& CPosition2D::addX(float d) {
    position.x += d;
    return *this;
}

CPosition2D& CPosition2D::subX(float d) {
    position.x -= d;
    return *this;
}

CPosition2D& CPosition2D::addY(float d) {
    position.y += d;
    return *this;
}

CPosition2D& CPosition2D::subY(float d) {
    position.y -= d;
    return *this;
}

CPosition2D& CPosition2D::add(float dx, float dy) {
    position.x += dx;
    position.y += dy;
    return *this;
}

void CPosition2D::set(float x, float y) {
    position.x = x;
    position.y = y;
}
