// The words flashed on the beat ("GO", "JUMP", "STEP", "HOLD IT"): huge chrome letters between lines of light.
#pragma once

#include <string>

class OverlayCanvas;

class WordOverlay
{
public:
    // Paints a_word (capitals) centred on a_canvas. A framed word stands in a glowing sign, for
    // one that stays up for several bars.
    static void paint(OverlayCanvas& a_canvas, const std::string& a_word, bool a_framed);
};
