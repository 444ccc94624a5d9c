// Program 1: flat colour. Geometry in the current glColor, no texture, no lighting.
#version 110
void main() {
    gl_FrontColor = gl_Color;
    gl_Position = ftransform();
}
