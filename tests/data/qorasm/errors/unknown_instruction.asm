vs_3_0
  mvo r0, r1
