vs_3_0
add r0, r1
