ps_3_0
setp p0, r0, r1
