// Program 2: heightmap terrain coloured by height: water at the bottom, then grass, rock and
// snow at the top. With "useTexture" set, the detail texture on unit 0 modulates the colour.
#version 110
uniform sampler2D tex;
uniform bool useTexture;
varying float level;
varying vec2 uv;
void main() {
    const vec3 water = vec3(0.10, 0.30, 0.75);
    const vec3 grass = vec3(0.20, 0.60, 0.20);
    const vec3 rock = vec3(0.55, 0.45, 0.30);
    const vec3 snow = vec3(0.95, 0.95, 0.95);
    vec3 colour;
    if (level < 1.0 / 3.0) {
        colour = mix(water, grass, level * 3.0);
    } else if (level < 2.0 / 3.0) {
        colour = mix(grass, rock, level * 3.0 - 1.0);
    } else {
        colour = mix(rock, snow, level * 3.0 - 2.0);
    }
    vec4 result = vec4(colour, 1.0);
    if (useTexture) {
        result *= texture2D(tex, uv);
    }
    gl_FragColor = result;
}
