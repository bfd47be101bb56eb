// A small deterministic noise source (xorshift32): the same seed gives the same song.
#include "Random.h"

Random::Random(uint32_t a_seed) : m_state(a_seed != 0 ? a_seed : 0x9e3779b9u) {}
