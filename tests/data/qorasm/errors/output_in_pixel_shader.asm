ps_3_0
mov o0, r0
