vs_3_0
const float5 weights : c0
