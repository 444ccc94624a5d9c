// Program 0: the textured quads of sprites and glyphs, placed by the fixed matrices.
// The engine sends each quad's tint as its vertex colour, so quads with different tints need no
// uniform change between them; "colors" multiplies it for programs that set a tint of their own.
// "tpos" is the pen position that the font's bold pass sends; the quad is already placed, so it
// must not move anything. It is written into the point size, which keeps the uniform active (so
// its location can be looked up) for one add per vertex and nothing per pixel; sprites and
// glyphs are quads, so the size is never used.
// The engine builds this program a second time with UNTINTED defined, for runs of quads that are
// all opaque white: they carry no colour to their pixels, which a software rasteriser pays for.
#version 110
uniform vec3 tpos;
uniform vec4 colors;
varying vec2 uv;
#ifndef UNTINTED
varying vec4 tint;
#endif
void main() {
    uv = gl_MultiTexCoord0.st;
#ifndef UNTINTED
    tint = gl_Color * colors;
#endif
    gl_PointSize = 1.0 + abs(tpos.z);
    gl_Position = ftransform();
}
