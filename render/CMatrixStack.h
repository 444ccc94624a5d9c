/// @file
/// CMatrixStack: the engine's copy of one OpenGL matrix stack, kept on the CPU.
#pragma once

#include <vector>

/// One matrix stack (the projection or the model-view) as the engine's own calls left it:
/// CRenderState keeps one of each and sends every matrix call of the engine's to OpenGL and here
/// alike, so that the engine can tell the current transform without asking the driver.
///
/// The copy holds only what it computes exactly as OpenGL does (loading the identity,
/// translating, an orthographic projection on the identity); any other change (a rotation, a
/// look-at, a perspective, a call the engine did not make itself) leaves the top unknown until
/// the next load. A matrix is 16 floats, column by column, as glGetFloatv gives it.
class CMatrixStack {
public:
    /// One unknown matrix.
    CMatrixStack();

    /// Whether the top matrix is known, and the top itself (meaningful only when known).
    /// @{
    bool Known() const { return top_.known; }
    const float* Top() const { return top_.m; }
    /// @}

    /// glLoadIdentity.
    void LoadIdentity();
    /// glTranslatef; exact on a matrix without rotation or scale, the only kind the engine
    /// translates.
    void Translate(float x, float y, float z);
    /// glOrtho; known only where the top was the identity.
    void Ortho(double left, double right, double bottom, double top, double zNear, double zFar);
    /// A change the copy does not follow.
    void Forget();
    /// glPushMatrix and glPopMatrix. A pop of an empty stack (which OpenGL refuses) forgets.
    /// @{
    void Push();
    void Pop();
    /// @}
    /// Forgets every matrix on the stack, for when the application may have changed them.
    void ForgetAll();

    /// Whether @p m is the orthographic projection glOrtho(0, width, height, 0, -1, 1) sets on
    /// the identity: one unit per viewport pixel, y down.
    static bool IsPixelProjection(const float m[16], int width, int height);
    /// That projection.
    static void PixelProjection(int width, int height, float m[16]);
    /// Whether @p m is the identity.
    static bool IsIdentity(const float m[16]);

private:
    struct Matrix {
        bool known = false;
        float m[16] = {};
    };
    Matrix top_;
    std::vector<Matrix> below_;
};
