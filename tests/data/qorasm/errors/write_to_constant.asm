vs_3_0
mov c0, r0
