// Selecting and stepping the capture device.
#include "BassCapture.h"

#include "Layer.h"

namespace BassCapture
{

bool select(uint32_t a_numerator, uint32_t a_denominator)
{
    if (a_numerator == 0 || a_denominator == 0)
        return false;
    Layer::g_captureNumerator = a_numerator;
    Layer::g_captureDenominator = a_denominator;
    return true;
}

void deselect()
{
    Layer::g_captureNumerator = 0;
    Layer::g_captureDenominator = 0;
}

uint32_t step(std::vector<int16_t>& a_samples)
{
    return Layer::g_device ? Layer::g_device->step(a_samples) : 0;
}

size_t streams()
{
    return Layer::g_device ? Layer::g_device->streams() : 0;
}

}
