// The screen quad's vertex shader, written loosely: blank lines, both comment
// styles, rgba letters and upper-case register names.
vs_3_0
const float yscale : c0   ; letterbox factor

dcl_position V0
dcl_texcoord0 v1
dcl_position o0
dcl_texcoord o1

mov o0.rba, v0          // x, z and w pass through
mul o0.y, v0.y, c0.x
mov o1.xy, v1
