# Quillfrost's effect: the parameters the program sets and two techniques.
#
# Format: "parameter KIND NAME [unused]" (KIND is texture, float, vector or
# matrix); "technique NAME" starts the technique's one pass, followed by
# "state NAME VALUE" lines and a "vertex" and a "fragment" GLSL 330 program,
# each closed by a line "end". Every parameter is a uniform of the same name.
# Vertex programs read inPosition, inNormal, inColour (the ARGB vertex colour
# as r, g, b, a) and inTexCoord.

# The texture the strip pass draws with.
parameter texture RenderTargetTexture
# view x projection; the world transform is the identity.
parameter matrix mWorldViewProjection
# The light above the arena, in world units.
parameter vector LightPosition

# Set by the program but read by no technique here: accepted and unused.
parameter float RenderTargetWidth unused
parameter float RenderTargetHeight unused
parameter vector CamerPosition unused
parameter float MagicValue unused
parameter float DistortionPosx unused
parameter float DistortionPosy unused

# Floor, walls and figures: textured, lit by the light along the vertex
# normal, tinted by the vertex colour; alpha is the vertex alpha, so a fading
# figure fades. The draw call has already set depth testing and blending.
technique WorldLighting
vertex
#version 330 core
uniform mat4 mWorldViewProjection;
uniform vec4 LightPosition;
in vec3 inPosition;
in vec3 inNormal;
in vec4 inColour;
in vec2 inTexCoord;
out vec4 colour;
out vec2 texCoord;
out vec3 normal;
out vec3 toLight;
void main() {
    vec4 p = mWorldViewProjection * vec4(inPosition, 1.0);
    // Depth runs 0..w in the program's projection and -w..w in GL.
    gl_Position = vec4(p.x, p.y, 2.0 * p.z - p.w, p.w);
    // Stored vertices sit 4 units further along z than the world the light is given in.
    toLight = LightPosition.xyz + vec3(0.0, 0.0, 4.0) - inPosition;
    normal = inNormal;
    colour = inColour;
    texCoord = inTexCoord;
}
end
fragment
#version 330 core
uniform sampler2D RenderTargetTexture;
in vec4 colour;
in vec2 texCoord;
in vec3 normal;
in vec3 toLight;
out vec4 fragment;
void main() {
    // The strip's seam vertices carry no normal: leave them unshaded.
    float size = length(normal);
    float diffuse = size > 0.0 ? max(dot(normal / size, normalize(toLight)), 0.0) : 1.0;
    vec3 texel = texture(RenderTargetTexture, texCoord).rgb;
    fragment = vec4(texel * colour.rgb * (0.35 + 0.65 * diffuse), colour.a);
}
end

# The figures again, flattened from the light onto the floor (y = -1.4) as a
# dark translucent shadow that fades for parts within ten units of the light. It is lifted a little and biased toward the camera
# so it never fights the floor for depth, and it writes depth with "Less" so
# overlapping limbs darken the floor once, not twice.
technique RenderToShadowPlane
state ZEnable true
state ZWriteEnable true
state ZFunc Less
state AlphaBlendEnable true
state SrcBlend SrcAlpha
state DestBlend InvSrcAlpha
state CullMode None
vertex
#version 330 core
uniform mat4 mWorldViewProjection;
uniform vec4 LightPosition;
in vec3 inPosition;
in vec4 inColour;
out float alpha;
const float kShadowHeight = -1.4 + 0.01;
const float kDepthBias = 8.0 / 65535.0;
void main() {
    vec3 light = LightPosition.xyz + vec3(0.0, 0.0, 4.0);
    vec3 onFloor = vec3(inPosition.x, kShadowHeight, inPosition.z);
    float drop = light.y - inPosition.y;
    if (drop > 1.0) {
        onFloor = light + (inPosition - light) * ((light.y - kShadowHeight) / drop);
        onFloor.y = kShadowHeight;
    }
    vec4 p = mWorldViewProjection * vec4(onFloor, 1.0);
    gl_Position = vec4(p.x, p.y, 2.0 * p.z - p.w - 2.0 * kDepthBias * p.w, p.w);
    // A figure close to the light (the one hanging at the light's height
    // before a game) would throw a huge blot: its shadow fades out instead.
    alpha = inColour.a * clamp((drop - 1.0) / 9.0, 0.0, 1.0);
}
end
fragment
#version 330 core
in float alpha;
out vec4 fragment;
void main() {
    fragment = vec4(0.0, 0.0, 0.0, 0.5 * alpha);
}
end
