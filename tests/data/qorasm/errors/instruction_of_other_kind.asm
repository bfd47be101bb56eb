vs_3_0
texkill r0
