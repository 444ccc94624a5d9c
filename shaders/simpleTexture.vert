// Program 0: the textured quads of sprites and glyphs. "tpos" is the pen position of the
// font's bold pass; the quad itself is already placed by the model-view matrix.
#version 110
uniform vec3 tpos;
varying vec2 uv;
void main() {
    uv = gl_MultiTexCoord0.st;
    gl_Position = ftransform();
}
