ps_3_0
const float a : c0
const float4 a : c1
