ps_3_0
const float4 colors[4] : c222
