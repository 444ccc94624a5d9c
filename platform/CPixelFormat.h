/// @file
/// CPixelFormat: what OpenGL's pixel formats hold, for code that sizes or walks pixel rows.
#pragma once

/// The pixel formats of 8-bit channels that the engine's textures use.
class CPixelFormat {
public:
    /// Channels a pixel of @p format has (GL_RGBA 4, GL_RGB 3, GL_LUMINANCE_ALPHA 2,
    /// GL_LUMINANCE and GL_ALPHA 1); 0 for any other format.
    static int Components(unsigned int format);
};
