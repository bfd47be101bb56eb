ps_3_0
def c0, 1, two, 3, 4
