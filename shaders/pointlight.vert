// Program 5: point light per pixel. Passes the eye-space position and normal on, since the
// light direction and distance change across a surface.
#version 110
varying vec3 normal;
varying vec3 eyePosition;
void main() {
    normal = gl_NormalMatrix * gl_Normal;
    eyePosition = vec3(gl_ModelViewMatrix * gl_Vertex);
    gl_FrontColor = gl_Color;
    gl_Position = ftransform();
}
