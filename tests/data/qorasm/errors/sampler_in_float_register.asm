ps_3_0
const sampler2D image : c0
