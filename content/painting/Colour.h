// An RGBA colour of floats (0..1, premultiplied alpha), the unit every painting step of the launcher artwork works in.
#pragma once

#include <algorithm>
#include <math.h>
#include <stdint.h>

struct Colour
{
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;

    // An opaque colour from 0xRRGGBB.
    static Colour fromHex(uint32_t a_rgb)
    {
        return {static_cast<float>((a_rgb >> 16) & 0xffu) / 255.0f,
                static_cast<float>((a_rgb >> 8) & 0xffu) / 255.0f,
                static_cast<float>(a_rgb & 0xffu) / 255.0f, 1.0f};
    }

    // A channel as an 8-bit level: clamped to 0..1 and rounded.
    static uint8_t level(float a_channel)
    {
        return static_cast<uint8_t>(lround(std::clamp(a_channel, 0.0f, 1.0f) * 255.0f));
    }

    // a_from at a_t = 0, a_to at a_t = 1.
    static Colour lerp(const Colour& a_from, const Colour& a_to, float a_t)
    {
        return a_from + (a_to - a_from) * a_t;
    }

    Colour operator+(const Colour& a_other) const
    {
        return {r + a_other.r, g + a_other.g, b + a_other.b, a + a_other.a};
    }
    Colour operator-(const Colour& a_other) const
    {
        return {r - a_other.r, g - a_other.g, b - a_other.b, a - a_other.a};
    }
    Colour operator*(float a_scale) const
    {
        return {r * a_scale, g * a_scale, b * a_scale, a * a_scale};
    }
    Colour& operator+=(const Colour& a_other) { return *this = *this + a_other; }

    // Paints a_top over this colour (both premultiplied): the "over" operator.
    Colour over(const Colour& a_top) const { return a_top + *this * (1.0f - a_top.a); }
};
