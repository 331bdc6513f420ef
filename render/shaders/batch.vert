#version 450
// Batch vertices arrive in device coordinates already; colour and texture
// coordinates pass straight through.

layout(location = 0) in vec2 inPosition;
layout(location = 1) in vec4 inColor0;
layout(location = 2) in vec2 inTexCoord0;

layout(location = 0) out vec2 fragTexCoord;
layout(location = 1) out vec4 fragColor;

void main() {
    fragColor = inColor0;
    fragTexCoord = inTexCoord0;
    gl_Position = vec4(inPosition.x, inPosition.y, 0.0, 1.0);
}
