/// @file
/// CDisplayCheck: whether the X display is why no window could be opened.
#pragma once

#include <string>

/// Tells whether the X display is the reason video set-up failed. Without a display SDL falls
/// back to a text-mode driver and only says "OpenGL not available", which hides the cause.
class CDisplayCheck {
public:
    /// "DISPLAY is unset", or "the X server of DISPLAY=NAME cannot be reached"; empty when a
    /// server answers (or Xlib cannot be loaded to ask).
    static std::string Problem();
    /// Writes "No display: " and the problem on standard error, when there is one.
    static void ReportProblem();
};
