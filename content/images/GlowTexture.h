// Small images for glowing and masked surfaces:
// - "spark.jpg": a round glow, white-hot in the middle and fading to black
//   at the rim, for point sprites and small glowing beads;
// - "glowlines.jpg": bands of bright lines and dashes across v, running
//   along u, for glowing rings, caps and strips;
// - "streaks.jpg": brushed-metal streaks, the reflection mask of chrome;
// - "grille.jpg": an opacity map, white with rows of round holes (black:
//   cut away) for perforated screens.
#pragma once

#include "Picture.h"

class GlowTexture
{
public:
    static Picture spark();
    static Picture lines();
    static Picture streaks();
    static Picture grille();
};
