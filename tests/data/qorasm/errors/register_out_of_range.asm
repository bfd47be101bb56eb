ps_3_0
mov r0, c224
