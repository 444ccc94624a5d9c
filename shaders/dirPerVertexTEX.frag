// Program 8: directional diffuse light per vertex with a texture: the texture on unit 0
// modulated by the colour lit at the vertices.
#version 110
uniform sampler2D tex;
varying vec2 uv;
void main() {
    gl_FragColor = texture2D(tex, uv) * gl_Color;
}
