// CPixelFormat: channel counts of OpenGL's pixel formats.
#include "platform/CPixelFormat.h"

#include <GL/gl.h>

int CPixelFormat::Components(unsigned int format) {
    switch (format) {
        case GL_RGBA:
            return 4;
        case GL_RGB:
            return 3;
        case GL_LUMINANCE_ALPHA:
            return 2;
        case GL_LUMINANCE:
        case GL_ALPHA:
            return 1;
        default:
            return 0;
    }
}
