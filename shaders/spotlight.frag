// Program 6: spot light per pixel: gl_LightSource[0] lights only inside its cone (spot
// direction and cut-off), brightest on the axis (spot exponent), with attenuation; outside the
// cone only the global ambient light remains.
#version 110
varying vec3 normal;
varying vec3 eyePosition;
void main() {
    vec3 n = normalize(normal);
    vec3 toLight = gl_LightSource[0].position.xyz - eyePosition;
    float d = length(toLight);
    vec3 l = toLight / d;
    float spot = 1.0;
    if (gl_LightSource[0].spotCutoff < 180.0) {
        float axis = dot(-l, normalize(gl_LightSource[0].spotDirection));
        spot = axis >= gl_LightSource[0].spotCosCutoff
                   ? pow(max(axis, 0.0001), gl_LightSource[0].spotExponent)
                   : 0.0;
    }
    float attenuation = spot / (gl_LightSource[0].constantAttenuation +
                                gl_LightSource[0].linearAttenuation * d +
                                gl_LightSource[0].quadraticAttenuation * d * d);
    float diffuse = max(dot(n, l), 0.0);
    vec3 light = gl_LightModel.ambient.rgb +
                 attenuation * (gl_LightSource[0].ambient.rgb +
                                gl_LightSource[0].diffuse.rgb * diffuse);
    gl_FragColor = vec4(gl_Color.rgb * light, gl_Color.a);
}
