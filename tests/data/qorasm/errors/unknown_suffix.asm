vs_3_0
add_x2 r0, r1, r2
