// Program 7: toon shading: the directional diffuse term of gl_LightSource[0] quantised per
// pixel into four flat bands of glColor, which gives the cartoon look with hard edges.
#version 110
varying vec3 normal;
void main() {
    float intensity = max(dot(normalize(normal), normalize(gl_LightSource[0].position.xyz)), 0.0);
    float band;
    if (intensity > 0.95) {
        band = 1.0;
    } else if (intensity > 0.5) {
        band = 0.7;
    } else if (intensity > 0.25) {
        band = 0.4;
    } else {
        band = 0.15;
    }
    gl_FragColor = vec4(gl_Color.rgb * band, gl_Color.a);
}
