/// @file
/// CDisplayCheck: whether the X display is why no window could be opened.
#pragma once

#include <string>

/// Tells whether the X display is the reason video set-up failed. Without a display SDL falls
/// back to a text-mode driver and only says "OpenGL not available", which hides the cause.
class CDisplayCheck {
public:
    /// "DISPLAY is unset", or "the X server of DISPLAY=NAME cannot be reached"; empty when a
    /// server answers (or Xlib cannot be loaded to ask), or where windows need no display
    /// server (a page's canvas). The platform asks (CPlatform::DisplayServerProblem).
    static std::string Problem();
    /// Writes "No display: " and the problem on standard error, when there is one; returns
    /// whether there was.
    static bool ReportProblem();
    /// Asked before SDL starts video: SDL 1.2, left to choose its driver without a display,
    /// may take a text-mode one, which writes terminal codes to standard output or ends the
    /// process. True (after the "No display: " line) when there is a Problem and the user named
    /// no driver in SDL_VIDEODRIVER (CPlatform::VideoDriverNamed; a driver named is honoured).
    static bool RefusesVideo();
};
