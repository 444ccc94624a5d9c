// Program 3: directional diffuse light per pixel: the interpolated normal is renormalised at
// every pixel, so curved surfaces light smoothly between coarse vertices.
#version 110
varying vec3 normal;
void main() {
    vec3 n = normalize(normal);
    vec3 l = normalize(gl_LightSource[0].position.xyz);
    float diffuse = max(dot(n, l), 0.0);
    vec3 light = gl_LightModel.ambient.rgb + gl_LightSource[0].ambient.rgb +
                 gl_LightSource[0].diffuse.rgb * diffuse;
    gl_FragColor = vec4(gl_Color.rgb * light, gl_Color.a);
}
