// Program 0: the textured quads of sprites and glyphs, placed by the fixed matrices.
// "tpos" is the pen position that the font's bold pass sends; the quad is already placed by the
// model-view matrix, so it must not move anything. It is written into the point size, which
// keeps the uniform active (so its location can be looked up) for one add per vertex and
// nothing per pixel; sprites and glyphs are quads, so the size is never used.
#version 110
uniform vec3 tpos;
varying vec2 uv;
void main() {
    uv = gl_MultiTexCoord0.st;
    gl_PointSize = 1.0 + abs(tpos.z);
    gl_Position = ftransform();
}
