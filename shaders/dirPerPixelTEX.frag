// Program 9: directional diffuse light per pixel with a texture: gl_LightSource[0] (its
// position is a direction) lights glColor at every pixel, and the texture on unit 0
// modulates the result.
#version 110
uniform sampler2D tex;
varying vec3 normal;
varying vec2 uv;
void main() {
    vec3 n = normalize(normal);
    vec3 l = normalize(gl_LightSource[0].position.xyz);
    float diffuse = max(dot(n, l), 0.0);
    vec3 light = gl_LightModel.ambient.rgb + gl_LightSource[0].ambient.rgb +
                 gl_LightSource[0].diffuse.rgb * diffuse;
    gl_FragColor = texture2D(tex, uv) * vec4(gl_Color.rgb * light, gl_Color.a);
}
