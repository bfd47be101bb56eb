// Shader programs for the render tests, written as loose files of the working
// directory (where the file system reads when no archive is loaded).
#pragma once

namespace TestPrograms
{

// Assembles a_source into the file a_name; the test fails on an assembly error.
void write(const char* a_name, const char* a_source);

// "quad.vsh" and "quad.psh" assembled from the content's own sources, so the
// renderer's screen quad runs the programs the demo ships.
void writeQuadPrograms();

// "deferred.vsh", "deferred.psh", "deferreddepth.psh", "combine.psh", "ambient.psh" and "fog.psh"
// from the content's sources: the deferred pipeline's own programs.
void writeDeferredPrograms();

// The scene's "selfillum", "cubemap" and "depth" pairs from the content's sources.
void writeScenePrograms();

// The scene lights' programs: "omni.vsh", "omni.psh" and "spot.psh".
void writeLightPrograms();

// The filters' programs from the content's sources: "blur.psh",
// "blursmooth.psh", "radialblur.psh", "dof.psh", "break.psh",
// "breakbare.psh" and "breakstill.psh".
void writeFilterPrograms();

}
