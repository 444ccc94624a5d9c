// Program 5: point light per pixel: gl_LightSource[0] at its eye-space position, diffuse
// light falling off with its constant, linear and quadratic attenuation.
#version 110
varying vec3 normal;
varying vec3 eyePosition;
void main() {
    vec3 n = normalize(normal);
    vec3 toLight = gl_LightSource[0].position.xyz - eyePosition;
    float d = length(toLight);
    vec3 l = toLight / d;
    float attenuation = 1.0 / (gl_LightSource[0].constantAttenuation +
                               gl_LightSource[0].linearAttenuation * d +
                               gl_LightSource[0].quadraticAttenuation * d * d);
    float diffuse = max(dot(n, l), 0.0);
    vec3 light = gl_LightModel.ambient.rgb +
                 attenuation * (gl_LightSource[0].ambient.rgb +
                                gl_LightSource[0].diffuse.rgb * diffuse);
    gl_FragColor = vec4(gl_Color.rgb * light, gl_Color.a);
}
