vs_3_0
mov r0, c2[a0.x + 3]
