vs_3_0
mov r0.yx, r1
