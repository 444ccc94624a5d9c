// Program 8: directional diffuse light per vertex with a texture: the light of
// gl_LightSource[0] (its position is a direction) on glColor is computed here and
// interpolated; the texture coordinates of unit 0 are passed on.
#version 110
varying vec2 uv;
void main() {
    vec3 n = normalize(gl_NormalMatrix * gl_Normal);
    vec3 l = normalize(gl_LightSource[0].position.xyz);
    float diffuse = max(dot(n, l), 0.0);
    vec3 light = gl_LightModel.ambient.rgb + gl_LightSource[0].ambient.rgb +
                 gl_LightSource[0].diffuse.rgb * diffuse;
    gl_FrontColor = vec4(gl_Color.rgb * light, gl_Color.a);
    uv = gl_MultiTexCoord0.st;
    gl_Position = ftransform();
}
