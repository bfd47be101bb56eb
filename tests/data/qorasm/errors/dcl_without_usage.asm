vs_3_0
dcl v0
