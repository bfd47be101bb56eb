vs_3_0
mov r0, r[a0.x]
