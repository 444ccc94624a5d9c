// Program 2: heightmap terrain coloured by height. The height is the object-space y of each
// vertex, mapped to 0..1 over "heightRange" (lowest, highest); left at (0, 0) the range is
// 0 to 255, the span of a byte heightmap.
#version 110
uniform vec2 heightRange;
varying float level;
varying vec2 uv;
void main() {
    vec2 range = heightRange.y > heightRange.x ? heightRange : vec2(0.0, 255.0);
    level = clamp((gl_Vertex.y - range.x) / (range.y - range.x), 0.0, 1.0);
    uv = gl_MultiTexCoord0.st;
    gl_Position = ftransform();
}
