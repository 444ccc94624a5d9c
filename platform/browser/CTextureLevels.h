/// @file
/// CTextureLevels: the browser build's hold on mip levels that no filter of theirs reads.
#pragma once

/// Only in the browser build. A texture whose minifying filter takes no mipmap (GL_NEAREST or
/// GL_LINEAR) is sampled from level 0 alone, yet a software rasteriser behind WebGL pays for
/// every level the texture has at every pixel it draws: a field of 10,000 sprites took the
/// browser's GPU process about 1.8 times as long a frame with a mip chain beside the picture as
/// without one.
///
/// So a level above 0 given to a texture whose filter takes no mipmap is kept here, not sent,
/// and sent the moment a mipmap filter is set on that texture, before anything can sample it;
/// a texture whose filter takes mipmaps (OpenGL's default does) gets its levels at once.
/// WebGL 1 has no way to keep defined levels out of sampling (no GL_TEXTURE_MAX_LEVEL), so this
/// is the only way to spare them. Pictures are the same either way, and the desktop's OpenGL
/// gets every level as it always did.
///
/// CTextureLevels.cpp defines these OpenGL entry points for the whole program: glBindTexture,
/// glActiveTexture and glActiveTextureARB (which texture a call means), glTexParameteri,
/// glTexParameterf, glTexParameteriv and glTexParameterfv (the minifying filter), glTexImage2D
/// (which also takes a component count as the internal format, as OpenGL 1.0 does and WebGL
/// refuses), glTexSubImage2D, glGenerateMipmap and glDeleteTextures.
class CTextureLevels {
public:
    /// Texture units tracked, from GL_TEXTURE0.
    static const int kTextureUnits = 32;
    /// The active texture unit, from 0.
    static int ActiveUnit();
    /// How many levels of the texture @p name are held back now.
    static int HeldLevels(unsigned int name);
};
