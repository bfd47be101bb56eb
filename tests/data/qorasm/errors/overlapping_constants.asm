vs_3_0
const float4x4 world : c0
const float4 color : c3
