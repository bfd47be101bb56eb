vs_3_0
const float4x4 m : c0..c4
