; no version line
mov r0, r1
