; Every kind of constant and most vs_3_0 instructions, registers and
; modifiers. Left out because MojoShader refuses them: a cube sampler in a
; vertex shader, predicated instructions and relatively addressed outputs
; (the encoding tests cover those).
vs_3_0
const float4x4 viewProjMatrix : c0
const row_major float4x4 spotMatrix : c4
const float4x4 worldAnimationMatrix : c8..c10
const float4 lights[3] : c11
const float3 viewPosition : c14
const float time : c15
const bool useFog : c16
const float2x3 small : c17
const bool cubemap : b0
const bool flags[2] : b1
const int4 counts : i0
const int loops : i1
const sampler2D heightMap : s0
const sampler3D noiseVolume : s1

def c20, 1, -2.5, 0.5, 0
def c21, 3.14159274, 1e-07, -0, 65504
defi i2, 3, -1, 0, 255
defb b5, true
defb b6, false

dcl_position v0
dcl_normal v1.xyz
dcl_texcoord3 v2.xy
dcl_blendindices v3
dcl_color1 v4
dcl_2d s0
dcl_volume s1
dcl_position o0
dcl_texcoord o1.xy
dcl_color o2
dcl_fog o3.x
dcl_psize o4.x

m4x4 r0, v0, c0
mov_sat r1.xy, -c3.wzyx
mad r0.w, r1_abs.x, c0.y, -v0_abs
mova a0.x, v3.x
mov r2, c[a0.x + 11]
add r2, r2, c[a0.y]
mov r3, c11[a0.x]
rep i0
add r0, r0, c20.x
endrep
setp_ne p0.xy, r1, c20
loop aL, i2
add r1, r1, c[aL + 11]
breakp p0.x
break_ge r1.x, c20.y
endloop
if b0
mul r1, r1, c20.z
else
if_lt r1.x, c20.w
mov r1, c20
endif
endif
callnz l1, !b1
call l2
lit r3, r1
dst r4, r1, r2
expp r5, r1.x
logp r6, r1.y
sgn r7, r1, r2, r3
sincos r8.xy, r1.w
texldl r9, v2, s0
texldl r10, v1, s1
slt r11, r1, r2
sge r12, r1, r2
frc r13, r1
crs r14.xyz, r1, r2
nrm r15, r1
pow r16, r1.x, r2.y
abs r17, -r1
min r18, r1, r2
max r19, r1, r2
lrp r20, r1, r2, r3
m4x3 r21.xyz, v0, c4
m3x4 r22, v1, c4
m3x3 r23.xyz, v1, c4
m3x2 r24.xy, v1, c4
exp r25, r1.x
log r26, r1.x
rcp r27, r1.x
rsq r28, r1.x
dp3 r29, r1, r2
dp4 r30, r1, r2
sub r31, r1, r2
mov o0, r0
mov o1.xy, v2
mov o2, v4
mov o3.x, c15.x
mov o4.x, c20.x
nop
ret
label l1
mov r1, c20
ret
label l2
mov r2, c21
ret
