// One bar of a breakbeat: sixteen steps of velocities for kick, snare, closed and open hats.
#include "DrumPattern.h"

#include "core/Assert.h"

#include <string.h>

DrumPattern::DrumPattern(const char* a_kick, const char* a_snare, const char* a_hat,
                         const char* a_openHat)
    : m_kick(parse(a_kick)), m_snare(parse(a_snare)), m_hat(parse(a_hat)),
      m_openHat(parse(a_openHat))
{
}

DrumPattern::Row DrumPattern::parse(const char* a_row)
{
    TARVO_ASSERT(a_row && strlen(a_row) == kSteps);
    Row row{};
    for (size_t i = 0; i < row.size(); ++i)
    {
        const char c = a_row[i];
        if (c == 'x')
            row[i] = 1.0f;
        else if (c == 'o')
            row[i] = 0.6f;
        else if (c == 'g')
            row[i] = 0.3f;
        else if (c >= '1' && c <= '9')
            row[i] = 0.1f * static_cast<float>(c - '0');
        else
            TARVO_ASSERT(c == '.');
    }
    return row;
}

DrumPattern DrumPattern::twoStep()
{
    return DrumPattern("x.........x.....", "....x..g....x...", "6.4.6.4.6.4.6...",
                       "..............5.");
}

DrumPattern DrumPattern::twoStepSkip()
{
    return DrumPattern("x.x.......x.....", "....x..g....x.g.", "6343634363436343",
                       "..4.............");
}

DrumPattern DrumPattern::chopped()
{
    return DrumPattern("x.x.......x.....", "....x..g.g..x.g.", "7.5.7.5.7.5.7.5.",
                       "..............5.");
}

DrumPattern DrumPattern::choppedAnswer()
{
    return DrumPattern("x.........xx....", ".g..x..g.g..x.g.", "7.5.7.5.7.5.7.5.",
                       "......4.........");
}

DrumPattern DrumPattern::rolling()
{
    return DrumPattern("x.....x...x.....", "....x.......x.g.", "7353735373537353",
                       "..4.......4.....");
}

DrumPattern DrumPattern::halfTime()
{
    return DrumPattern("x.........x.....", "....x...........", "5.3.5.3.5.3.5.3.",
                       "..........4.....");
}

DrumPattern DrumPattern::intro()
{
    return DrumPattern("x.........x.....", "....o.......o...", "5.3.5.3.5.3.5.3.",
                       "................");
}
