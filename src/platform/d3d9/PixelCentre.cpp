// D3D9's pixel-centre convention, reproduced in one place.
#include "PixelCentre.h"

void PixelCentre::clipOffset(unsigned a_viewportWidth, unsigned a_viewportHeight, float a_offset[2])
{
    // Clip units span 2 across the viewport: a pixel is 2 / size of them.
    const float pixels = 0.5f - 1.0f / 1024.0f;
    a_offset[0] = a_viewportWidth ? pixels * 2.0f / float(a_viewportWidth) : 0.0f;
    a_offset[1] = a_viewportHeight ? -pixels * 2.0f / float(a_viewportHeight) : 0.0f;
}

bool PixelCentre::wrapVertexMain(std::string* a_glsl)
{
    static const char g_main[] = "void main()";
    const size_t at = a_glsl->find(g_main);
    if (at == std::string::npos || a_glsl->find(g_main, at + 1) != std::string::npos)
        return false;
    a_glsl->replace(at, sizeof(g_main) - 1, "void tarvo_d3dMain()");
    a_glsl->append("uniform vec2 tarvo_pixelCentre;\n"
                   "void main()\n"
                   "{\n"
                   "    tarvo_d3dMain();\n"
                   "    gl_Position.xy += tarvo_pixelCentre * gl_Position.w;\n"
                   "    gl_Position.y = -gl_Position.y;\n"
                   "}\n");
    return true;
}

void PixelCentre::fixFragmentPosition(std::string* a_glsl)
{
    static const char g_x[] = "gl_FragCoord.x";
    static const char g_fixed[] = "(gl_FragCoord.x - 0.5)";
    for (size_t at = a_glsl->find(g_x); at != std::string::npos;
         at = a_glsl->find(g_x, at + sizeof(g_fixed) - 1))
        a_glsl->replace(at, sizeof(g_x) - 1, g_fixed);
}

void PixelCentre::flip(float a_flip[2])
{
    // Rows already run top first (clip space is turned upside down): no flip.
    a_flip[0] = 1.0f;
    a_flip[1] = -0.5f;
}
