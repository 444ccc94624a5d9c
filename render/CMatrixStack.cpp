// CMatrixStack: the CPU copy of a matrix stack, computed as OpenGL computes it.
#include "render/CMatrixStack.h"

#include <cmath>

namespace {

const float kIdentity[16] = {1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f,
                             0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f};

// The orthographic matrix as OpenGL builds it, each value worked out in double and stored as
// a float (so the browser's emulation gets the very same floats).
void OrthoMatrix(double l, double r, double b, double t, double n, double f, float m[16]) {
    for (int i = 0; i < 16; ++i) {
        m[i] = 0.0f;
    }
    m[0] = static_cast<float>(2.0 / (r - l));
    m[5] = static_cast<float>(2.0 / (t - b));
    m[10] = static_cast<float>(-2.0 / (f - n));
    m[12] = static_cast<float>(-(r + l) / (r - l));
    m[13] = static_cast<float>(-(t + b) / (t - b));
    m[14] = static_cast<float>(-(f + n) / (f - n));
    m[15] = 1.0f;
}

}  // namespace

CMatrixStack::CMatrixStack() {}

void CMatrixStack::LoadIdentity() {
    top_.known = true;
    for (int i = 0; i < 16; ++i) {
        top_.m[i] = kIdentity[i];
    }
}

void CMatrixStack::Translate(float x, float y, float z) {
    float* m = top_.m;
    // Only the last column changes; without rotation or scale each sum has one term besides
    // the old offset, so the float result is OpenGL's to the bit.
    for (int row = 0; row < 4; ++row) {
        m[12 + row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
    }
}

void CMatrixStack::Ortho(double left, double right, double bottom, double top, double zNear,
                         double zFar) {
    if (!top_.known || !IsIdentity(top_.m)) {
        top_.known = false;
        return;
    }
    OrthoMatrix(left, right, bottom, top, zNear, zFar, top_.m);
}

void CMatrixStack::Forget() {
    top_.known = false;
}

void CMatrixStack::Push() {
    below_.push_back(top_);
}

void CMatrixStack::Pop() {
    if (below_.empty()) {
        top_.known = false;
        return;
    }
    top_ = below_.back();
    below_.pop_back();
}

void CMatrixStack::ForgetAll() {
    top_.known = false;
    for (Matrix& matrix : below_) {
        matrix.known = false;
    }
}

bool CMatrixStack::IsPixelProjection(const float m[16], int width, int height) {
    float pixel[16];
    PixelProjection(width, height, pixel);
    for (int i = 0; i < 16; ++i) {
        // The driver's own glOrtho may round its divisions differently.
        if (std::fabs(m[i] - pixel[i]) > 1e-6f) {
            return false;
        }
    }
    return true;
}

void CMatrixStack::PixelProjection(int width, int height, float m[16]) {
    OrthoMatrix(0.0, width, height, 0.0, -1.0, 1.0, m);
}

bool CMatrixStack::IsIdentity(const float m[16]) {
    for (int i = 0; i < 16; ++i) {
        if (m[i] != kIdentity[i]) {
            return false;
        }
    }
    return true;
}
