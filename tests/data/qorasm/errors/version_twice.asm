vs_3_0
ps_3_0
