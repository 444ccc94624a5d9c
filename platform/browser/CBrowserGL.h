/// @file
/// CBrowserGL: the browser build's own share of OpenGL, where WebGL 1 and emscripten's emulation
/// fall short of what the engine uses.
#pragma once

#include <string>

/// Only in the browser build (CPlatform uses it there): the fixed-function OpenGL that
/// applications' own calls rely on (the demo's and the examples', the debug shapes) and that
/// WebGL 1 with emscripten's emulation lacks or gets wrong, supplied by the engine itself so
/// that the pictures match the desktop's. The engine's own quads need none of that work, but
/// their draw does pass through some of these entry points, which hand it on to the emulation:
/// glDrawElements (16-bit indices from a buffer; with lighting and a colour material on, the
/// current colour becomes the material first), glGetFloatv for the matrices, and the ARB names
/// for the program and its uniforms.
///
/// It reaches the emulation through the emulation's C entry points (emscripten_glEnable,
/// emscripten_glLightfv and the like) only, never through its JavaScript objects, and keeps in
/// C++ what WebGL cannot answer.
///
/// CBrowserGL.cpp defines these OpenGL entry points for the whole program:
/// - immediate mode (glBegin, glEnd, glVertex, glColor, glNormal, glTexCoord) with OpenGL's
///   "current value" rule: every vertex takes the colour, normal and texture coordinate last
///   given, which the emulation only honours when each vertex repeats them in the same order;
/// - glDrawElements with 32-bit indices from memory, which the emulation only takes as 16-bit;
/// - the light settings (glLightfv and glLightf for all their names, glLightModeli,
///   glColorMaterial), glEnable and glDisable for the colour material;
/// - gluLookAt and gluPerspective (the emulation's replace the matrix instead of multiplying it,
///   and its look-at mixes up its arguments);
/// - glIsEnabled(GL_TEXTURE_2D) for the active unit (glEnable and glDisable keep track of it) and
/// glGetIntegerv(GL_BLEND_SRC / GL_BLEND_DST), which WebGL does not
///   answer;
/// - glGetFloatv(GL_CURRENT_COLOR) from the colour last given (glColor4f, glColor4fv,
///   glColor3f, glColor3fv, glColor4ub and glColor3ub keep it), which WebGL does not answer;
/// - glPushClientAttrib / glPopClientAttrib for the unpack alignment, glShadeModel (WebGL always
///   interpolates);
/// - glHint and glPixelStorei, which drop what WebGL 1 lacks and the desktop's defaults ask
///   for (fixed-function quality hints, zero row lengths and skips) instead of setting an
///   error each time;
/// - the ARB names of the shader functions.
///
/// The texture calls are CTextureLevels'.
class CBrowserGL {
public:
    /// The GLSL text of a shader file, made acceptable to WebGL 1: the `#version` line blanked
    /// (the emulation puts its own declarations first), the fixed-function light source and
    /// light model turned into uniforms of our own, and the normal matrix computed from the
    /// model-view (its upper 3 x 3's inverse transpose, as OpenGL's).
    static std::string AdaptShaderSource(const std::string& source);
    /// Gives the current program the light state that those uniforms stand for.
    static void SetProgramLights(unsigned int program);
};
