/// @file
/// CMipmapBuilder: a texture's whole mip chain, built from one picture without GLU.
#pragma once

#include <vector>

/// Uploads a picture as every level of a texture, down to 1 x 1, the way the engine's textures
/// have always been built: a side that is not a power of two is first scaled to one (to the
/// nearer one by ratio: 768 goes up to 1024, 1400 down to 1024), with a box filter that
/// weighs each source pixel by how much of it falls into the target pixel; each further level
/// averages 2 x 2 pixels of the one before (2 x 1 once a side is down to 1).
///
/// It reads exactly the picture's rows and nothing past them, and calls no GLU function, so it
/// serves builds where GLU is missing (the browser's) as well.
///
/// @code
/// glBindTexture(GL_TEXTURE_2D, name);
/// CMipmapBuilder::Upload(GL_TEXTURE_2D, GL_RGB, width, height, GL_RGB, pixels);
/// @endcode
class CMipmapBuilder {
public:
    /// Uploads the picture as levels 0, 1, ... of the texture bound to target. The pixels are
    /// 8-bit channels in format (GL_RGB, GL_RGBA, GL_LUMINANCE, GL_LUMINANCE_ALPHA or
    /// GL_ALPHA), rows padded to the current GL_UNPACK_ALIGNMENT (the other unpack settings at
    /// their defaults). The alignment is the same again afterwards. False, with nothing
    /// uploaded, for another format, an empty picture or null pixels. Needs a current context.
    /// Given @p textures, it fills each of those @p textureCount textures instead, binding them
    /// to target in turn (the last one stays bound), and builds each level only once.
    static bool Upload(unsigned int target, int internalFormat, int width, int height,
                       unsigned int format, const void* pixels,
                       const unsigned int* textures = nullptr, int textureCount = 0);

    /// The power of two a side of that length is scaled to (at least 1): a side between
    /// 3 x 2^k and 4 x 2^k goes up to 4 x 2^k, any other side down to the power below it.
    static int PowerOfTwoSide(int side);

private:
    static std::vector<unsigned char> Scale(const unsigned char* pixels, int width, int height,
                                            int rowBytes, int components, int newWidth,
                                            int newHeight);
    static std::vector<unsigned char> Halve(const std::vector<unsigned char>& pixels, int width,
                                            int height, int components);
};
