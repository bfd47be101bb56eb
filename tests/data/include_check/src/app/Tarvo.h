// Includes its own folder and one before it, as the order allows.
#include "render/Leaky.h"
#include "scene/Leaky.h"
