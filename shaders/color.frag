// Program 1: flat colour; the interpolated glColor as it is.
#version 110
void main() {
    gl_FragColor = gl_Color;
}
