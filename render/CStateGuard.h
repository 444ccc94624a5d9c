/// @file
/// CStateGuard: drawing state changed for one scope and put back at its end.
#pragma once

/// Sets switches and blend factors through CRenderState for as long as the guard lives and puts
/// back, when it goes, exactly those it changed, in the reverse order. A value already in force
/// is left alone, so a guard in the state it asks for sends nothing at all. A font print uses
/// one to draw the same in a 2D frame and in a 3D scene.
///
///     CStateGuard guard;
///     guard.SetEnabled(GL_LIGHTING, false);
///     ...  // draw
///     // lighting is back on here if it was on before
class CStateGuard {
public:
    /// Changes nothing yet.
    CStateGuard();
    /// Restore.
    ~CStateGuard();

    /// Not copyable: one guard puts back one set of changes.
    /// @{
    CStateGuard(const CStateGuard&) = delete;
    CStateGuard& operator=(const CStateGuard&) = delete;
    /// @}

    /// Turns texturing, the depth test, lighting, the scissor test or blending on or off for
    /// the guard's life.
    void SetEnabled(unsigned int capability, bool on);
    /// The blend factors for the guard's life.
    void SetBlendFunc(int source, int destination);
    /// Whether the guard has changed anything.
    bool Changed() const { return count_ != 0; }
    /// Puts back what the guard changed, now rather than at its end.
    void Restore();

private:
    // Room for the five switches and the blend factors.
    static const int kMaxChanges = 6;
    struct Change {
        unsigned int capability;  // 0 for the blend factors
        bool wasOn;
        int source;
        int destination;
    };
    Change changes_[kMaxChanges];
    int count_;
};
