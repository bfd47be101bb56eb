ps_3_0
(p0.x) def c0, 1, 2, 3, 4
