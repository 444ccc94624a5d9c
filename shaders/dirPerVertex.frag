// Program 4: directional diffuse light per vertex; the colour lit at the vertices, as it is.
#version 110
void main() {
    gl_FragColor = gl_Color;
}
