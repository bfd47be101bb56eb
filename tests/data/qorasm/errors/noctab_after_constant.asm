vs_3_0
const float x : c0
noctab
