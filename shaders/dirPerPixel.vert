// Program 3: directional diffuse light per pixel. Passes the eye-space normal on; the surface
// colour is glColor and the light is gl_LightSource[0] (its position is a direction).
#version 110
varying vec3 normal;
void main() {
    normal = gl_NormalMatrix * gl_Normal;
    gl_FrontColor = gl_Color;
    gl_Position = ftransform();
}
