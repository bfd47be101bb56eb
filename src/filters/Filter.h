// The common interface of the full-screen post-processing filters: each reads
// finished images and draws the screen quad with its own pixel shader into a
// target. Content loading creates and initialises one of each; the timeline
// sets their parameters by name and applies them every frame.
#pragma once

#include "core/ReturnCode.h"

#include <d3d9.h>

#include <stdint.h>

class Renderer;
class RenderTarget;
class Shader;

class Filter
{
public:
    virtual ~Filter();

    // The filter's name, a constant string ("blur", "Break", ...).
    virtual const char* name() const = 0;
    // Loads the filter's programs and images for a_renderer; called once.
    virtual ReturnCode init(Renderer* a_renderer) = 0;

    // Parameters by exact, case-sensitive name: true when the name is one of
    // the filter's and the value was stored. The base knows no names.
    virtual bool setParameter(const char* a_name, int32_t a_value);
    virtual bool setParameter(const char* a_name, float a_value);

    // Draws into a_target from up to four sources; each filter says which it
    // reads. The target is left bound as colour target 0.
    virtual void apply(RenderTarget* a_target, RenderTarget* a_source1, RenderTarget* a_source2,
                       RenderTarget* a_source3, RenderTarget* a_source4) = 0;

protected:
    Filter() = default;
    Filter(const Filter&) = delete;
    Filter& operator=(const Filter&) = delete;

    // "quad.vsh" and a_pixelName into a_vertex and a_pixel, each null when it
    // could not be made (a missing file has shown its message); true when
    // both loaded.
    static bool loadShaders(Renderer* a_renderer, const char* a_pixelName, Shader*& a_vertex,
                            Shader*& a_pixel);
    // Linear minification, magnification and mip filtering on a_stage, and
    // its texture clamped at the edges.
    static void setLinearClamp(Renderer* a_renderer, DWORD a_stage);
    // Point sampling on a_stage, clamped: what a program reads at texel
    // centres needs no filtering, and Mesa's software rasteriser does a
    // quarter of the work for a read without it.
    static void setPointClamp(Renderer* a_renderer, DWORD a_stage);

    // The ping-pong of the multi-pass filters over the renderer's scratch
    // targets 0 and 1: pass a_pass of a_passes writes a_target when it is
    // the last and scratch target a_pass mod 2 before that, and reads
    // a_source on pass 0 and what the pass before wrote on every later one.
    static RenderTarget* passTarget(Renderer* a_renderer, int32_t a_pass, int32_t a_passes,
                                    RenderTarget* a_target);
    static RenderTarget* passSource(Renderer* a_renderer, int32_t a_pass, RenderTarget* a_source);
};
