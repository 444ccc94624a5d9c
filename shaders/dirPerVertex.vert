// Program 4: directional diffuse light per vertex (Gouraud): the lit colour is computed here
// from glColor and gl_LightSource[0] (its position is a direction) and interpolated.
#version 110
void main() {
    vec3 n = normalize(gl_NormalMatrix * gl_Normal);
    vec3 l = normalize(gl_LightSource[0].position.xyz);
    float diffuse = max(dot(n, l), 0.0);
    vec3 light = gl_LightModel.ambient.rgb + gl_LightSource[0].ambient.rgb +
                 gl_LightSource[0].diffuse.rgb * diffuse;
    gl_FrontColor = vec4(gl_Color.rgb * light, gl_Color.a);
    gl_Position = ftransform();
}
