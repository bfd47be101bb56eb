ps_3_0
add r0, r1.xq, r2
