#version 450
// The overlay page's bitmap, tinted by the vertex colour (white for the overlay).

layout(origin_upper_left) in vec4 gl_FragCoord;

layout(location = 0) in vec2 fragTexCoord;
layout(location = 1) in vec4 fragColor;

layout(set = 1, binding = 0) uniform sampler2D g_InputTexture;

layout(location = 0) out vec4 finalColor;

void main() {
    finalColor = fragColor * texture(g_InputTexture, fragTexCoord);
}
