; Most ps_3_0 instructions, registers and modifiers, and inputs declared with
; usage indices (texcoord1 must keep its index 1). Left out because MojoShader
; refuses them: _centroid, predicated instructions, texkill with a partial mask and
; relatively addressed inputs (the encoding tests cover those).
ps_3_0
const float4 diffuseColor : c0
const float glossiness : c1
const float4 uvScroll : c2
const float3x3 rotation : c3
const bool cubemap : b0
const int2 taps : i0
const sampler2D diffuseMap : s0
const samplerCUBE environment : s1
const sampler3D noise : s2
const sampler2D shadows[2] : s3

def c10, 0, 0.5, 1, 2
defi i1, 4, 0, 1, 0
defb b1, true

dcl_texcoord v0.xy
dcl_texcoord1 v1.xy
dcl_color v2
dcl_normal1_pp v3.xyz
dcl_texcoord2 v4
dcl vPos.xy
dcl vFace
dcl_2d s0
dcl_cube s1
dcl_volume s2
dcl_2d s3
dcl_2d s4

texld r0, v0, s0
texldp r1, v4, s3
texldb r2, v4, s4
texldl r3, v4, s2
texldd r4, v0, s0, r1, r2
texld_pp r5, v3, s1
texkill r0
mul_pp r6.rgb, r0.rrra, c0.bgra
mad_sat r7, r0, c0, -v2_abs
cmp r8, -r0, c10.x, c10.z
dp2add r9.x, r1, r2, c10.y
dsx r10, v0
dsy r11, v0
add r12.xy, vPos, -c10.y
if b0
mul r0, r0, r5
endif
if_gt vFace.x, c10.x
mov r0.w, c10.z
else
mov r0.w, c10.x
endif
rep i0
add r13, r13, v1
endrep
loop aL, i1
add r14, r14, c2
break_eq r14.x, c10.w
endloop
setp_lt p0, r0, c10
lrp r15, c1.x, r0, r1
abs r16, r1
nrm r17.xyz, v3
pow r18.x, r1.x, c1.x
rcp r19.x, r1.w
rsq r20.x, r1.w
frc r21, r1
exp r22, r1.x
log r23, r1.x
min r24, r1, r2
max r25, r1, r2
crs r26.xyz, r1, r2
m3x3 r27.xyz, v3, c3
sincos r28.xy, r1.x
mov oC0, r0
mov_pp oC1, r6
mov oC3.xyzw, r7
mov oDepth, r8.x
