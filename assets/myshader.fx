# Quillfrost's effect: the parameters the program sets and two techniques.
#
# Format: "parameter KIND NAME [unused]" (KIND is texture, float, vector or
# matrix); "technique NAME" starts the technique's one pass, followed by
# "state NAME VALUE" lines and a "vertex" and a "fragment" GLSL 330 program,
# each closed by a line "end". Every parameter is a uniform of the same name.
# Vertex programs read inPosition, inNormal, inColour (the ARGB vertex colour
# as r, g, b, a) and inTexCoord.
#
# For Direct3D 9 each technique also holds "vertex asm" and "fragment asm"
# programs: the same work in vs_2_0 / ps_2_0 shader assembly. There the
# parameters not marked unused are constants in declaration order, the same
# registers in both programs: a matrix four (its columns, for dp4), a vector
# or float one, from c0 up; textures are samplers s0, s1, ... Here that makes
# mWorldViewProjection c0..c3, LightPosition c4 and RenderTargetTexture s0.
# Assembly constants of a program's own ("def") start at c8.

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
vertex asm
vs_2_0
def c8, 0.0, 0.0, 4.0, 0.0
dcl_position v0
dcl_normal v1
dcl_color v2
dcl_texcoord v3
dp4 oPos.x, v0, c0
dp4 oPos.y, v0, c1
dp4 oPos.z, v0, c2
dp4 oPos.w, v0, c3
add r0.xyz, c4, c8
sub oT2.xyz, r0, v0
mov oT1.xyz, v1
mov oD0, v2
mov oT0.xy, v3
end
fragment asm
ps_2_0
def c8, 0.35, 0.65, 1.0, 0.0
dcl t0.xy
dcl t1.xyz
dcl t2.xyz
dcl v0
dcl_2d s0
texld r0, t0, s0
dp3 r1.x, t1, t1
rsq r1.y, r1.x
mul r2.xyz, t1, r1.y
nrm r3.xyz, t2
dp3 r2.w, r2, r3
max r2.w, r2.w, c8.w
// The strip's seam vertices carry no normal (length 0): unshaded.
cmp r2.w, -r1.x, c8.z, r2.w
mad r2.w, r2.w, c8.y, c8.x
mul r0.xyz, r0, v0
mul r0.xyz, r0, r2.w
mov r0.w, v0.w
mov oC0, r0
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
vertex asm
vs_2_0
// c8: (0, 4, shadow height, 1); c9: (depth bias, 1/9, 0.5, 0)
def c8, 0.0, 4.0, -1.39, 1.0
def c9, 0.00012207218, 0.11111111, 0.5, 0.0
dcl_position v0
dcl_color v1
// r0 the light, r1.x the drop from it
add r0.xyz, c4, c8.xxy
sub r1.x, r0.y, v0.y
// The point projected from the light onto the floor, its factor kept finite
// where it is not used (drop at most 1).
max r1.z, r1.x, c8.w
rcp r1.z, r1.z
sub r1.y, r0.y, c8.z
mul r1.y, r1.y, r1.z
sub r2.xyz, v0, r0
mad r3.xyz, r2, r1.y, r0
// Dropped straight down unless the drop exceeds 1.
slt r1.w, c8.w, r1.x
lrp r4.xz, r1.w, r3, v0
mov r4.y, c8.z
mov r4.w, c8.w
dp4 r5.x, r4, c0
dp4 r5.y, r4, c1
dp4 r5.z, r4, c2
dp4 r5.w, r4, c3
mov oPos.xyw, r5
mad oPos.z, r5.w, -c9.x, r5.z
// Fades out for parts within ten units of the light.
sub r6.x, r1.x, c8.w
mul r6.x, r6.x, c9.y
max r6.x, r6.x, c8.x
min r6.x, r6.x, c8.w
mul oD0, v1.w, r6.x
end
fragment asm
ps_2_0
def c8, 0.0, 0.5, 0.0, 0.0
dcl v0
mul r0.w, v0.w, c8.y
mov r0.xyz, c8.x
mov oC0, r0
end
