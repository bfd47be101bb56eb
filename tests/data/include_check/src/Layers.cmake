# The order and the knot of the check's fixture tree.
set(TARVO_LAYERS core render scene app)
set(TARVO_KNOT_TIES "scene/Knotted.cpp -> app/Tarvo.h: listed, so allowed")
