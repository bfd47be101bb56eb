// Demo time from the soundtrack's position.
#include "sound/Timer.h"

#include "core/Assert.h"
#include "sound/Soundtrack.h"
#include "sound/Time.h"

#include <windows.h>

namespace
{
DWORD g_resetTick = 0;  // GetTickCount at the reset, for the silent clock
}

void Timer::reset()
{
    Time::g_time = 0.0f;
    Time::g_delta = 0.0f;
    Time::g_soundtrack = nullptr;
    g_resetTick = GetTickCount();
}

void Timer::update()
{
    TARVO_ASSERT(Time::g_soundtrack);
    Time::g_previousTime = Time::g_time;
    Time::g_time = heardTime(Time::g_soundtrack);
    Time::g_delta = Time::g_time - Time::g_previousTime;
    if (Time::g_delta < 0.0f)
        Time::g_delta = 0.0f;
}

float Timer::heardTime(const Soundtrack* a_soundtrack)
{
    const HSTREAM stream = a_soundtrack->m_stream;
    const QWORD bytes = BASS_ChannelGetPosition(stream, BASS_POS_BYTE);
    return static_cast<float>(BASS_ChannelBytes2Seconds(stream, bytes));
}

void Timer::updateSilent()
{
    Time::g_previousTime = Time::g_time;
    Time::g_time = static_cast<float>(GetTickCount() - g_resetTick) / 1000.0f;
    Time::g_delta = Time::g_time - Time::g_previousTime;
    if (Time::g_delta < 0.0f)
        Time::g_delta = 0.0f;
}
