// Program 0: texture unit 0 times the tint. One sample and one multiply per pixel: this runs
// for every pixel of every sprite and glyph, so it stays as small as it can be. The UNTINTED
// build (opaque white quads) is the sample alone.
#version 110
uniform sampler2D tex;
varying vec2 uv;
#ifdef UNTINTED
void main() {
    gl_FragColor = texture2D(tex, uv);
}
#else
varying vec4 tint;
void main() {
    gl_FragColor = texture2D(tex, uv) * tint;
}
#endif
