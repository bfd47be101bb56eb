ps_3_0
dcl_texcord0 v0
