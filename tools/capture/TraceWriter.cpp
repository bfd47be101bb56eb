// CSV lines of the timeline's values.
#include "TraceWriter.h"

#include "demo/FrameDescription.h"

#include <errno.h>
#include <string.h>

namespace
{

// Names carry no commas or quotes today; a field that did would be quoted.
void writeText(FILE* a_stream, const char* a_text)
{
    if (!a_text)
        return;
    if (!strpbrk(a_text, ",\"\n"))
    {
        fputs(a_text, a_stream);
        return;
    }
    fputc('"', a_stream);
    for (const char* c = a_text; *c; ++c)
    {
        if (*c == '"')
            fputc('"', a_stream);
        fputc(*c, a_stream);
    }
    fputc('"', a_stream);
}

}  // namespace

TraceWriter::TraceWriter(const std::string& a_path) : m_file(a_path) {}

TraceWriter::~TraceWriter()
{
    if (m_stream)
        fclose(m_stream);
}

const char* TraceWriter::header()
{
    return "frame,time,beat,part,camera,camera_time,scene_time,position_shake,target_shake,roll_"
           "shake,"
           "shake_phase,fov_scale,envelope,fog_near,fog_far,blur_area,dof_far,overlay,overlay_"
           "force,"
           "overlay_force2,break_brightness";
}

bool TraceWriter::open()
{
    m_stream = fopen(m_file.temporaryPath().c_str(), "w");
    if (!m_stream)
    {
        fprintf(stderr, "tarvo-capture: cannot create '%s': %s\n", m_file.temporaryPath().c_str(),
                strerror(errno));
        return false;
    }
    fprintf(m_stream, "%s\n", header());
    return true;
}

// Nine significant digits give every float back exactly.
void TraceWriter::write(uint32_t a_frame, const FrameDescription& a_trace)
{
    fprintf(m_stream, "%u,%.9g,%.9g,", a_frame, double(a_trace.time), double(a_trace.beat));
    writeText(m_stream, a_trace.part);
    fputc(',', m_stream);
    writeText(m_stream, a_trace.cameraName);
    const float values[] = {a_trace.cameraTime,  a_trace.sceneTime, a_trace.positionShake,
                            a_trace.targetShake, a_trace.rollShake, a_trace.shakePhase,
                            a_trace.fovScale,    a_trace.envelope,  a_trace.fogNear,
                            a_trace.fogFar,      a_trace.blurArea,  a_trace.dofFar};
    for (float value : values)
        fprintf(m_stream, ",%.9g", double(value));
    fputc(',', m_stream);
    writeText(m_stream, a_trace.overlay);
    fprintf(m_stream, ",%.9g,%.9g,%.9g\n", double(a_trace.overlayForce),
            double(a_trace.overlayForce2), double(a_trace.breakBrightness));
}

bool TraceWriter::finish()
{
    const bool written = !ferror(m_stream);
    const bool closed = fclose(m_stream) == 0;
    m_stream = nullptr;
    if (!written || !closed)
    {
        fprintf(stderr, "tarvo-capture: cannot write '%s'\n", m_file.temporaryPath().c_str());
        return false;
    }
    return m_file.commit();
}
