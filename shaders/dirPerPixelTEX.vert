// Program 9: directional diffuse light per pixel with a texture. Passes the eye-space normal
// and the texture coordinates of unit 0 on.
#version 110
varying vec3 normal;
varying vec2 uv;
void main() {
    normal = gl_NormalMatrix * gl_Normal;
    uv = gl_MultiTexCoord0.st;
    gl_FrontColor = gl_Color;
    gl_Position = ftransform();
}
