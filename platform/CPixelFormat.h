/// @file
/// CPixelFormat: what OpenGL's pixel formats hold, for code that sizes or walks pixel rows.
#pragma once

#include <SDL.h>

/// The pixel formats of 8-bit channels that the engine's textures use.
class CPixelFormat {
public:
    /// SDL's channel masks for pixels held as the bytes red, green, blue, alpha in memory, as
    /// OpenGL's GL_RGBA with GL_UNSIGNED_BYTE reads and writes them, whatever the byte order.
    /// @{
    static constexpr bool kLittleEndian = SDL_BYTEORDER == SDL_LIL_ENDIAN;
    static constexpr Uint32 kRedMask = kLittleEndian ? 0x000000FF : 0xFF000000;
    static constexpr Uint32 kGreenMask = kLittleEndian ? 0x0000FF00 : 0x00FF0000;
    static constexpr Uint32 kBlueMask = kLittleEndian ? 0x00FF0000 : 0x0000FF00;
    static constexpr Uint32 kAlphaMask = kLittleEndian ? 0xFF000000 : 0x000000FF;
    /// @}
    /// Channels a pixel of @p format has (GL_RGBA 4, GL_RGB 3, GL_LUMINANCE_ALPHA 2,
    /// GL_LUMINANCE and GL_ALPHA 1); 0 for any other format.
    static int Components(unsigned int format);
};
