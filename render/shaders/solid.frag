#version 450
// Untextured shapes: the interpolated vertex colour, blended by the pipeline.

layout(location = 0) in vec2 fragTexCoord;
layout(location = 1) in vec4 fragColor;

layout(location = 0) out vec4 finalColor;

void main() {
    finalColor = fragColor;
}
