// The suite's event deadline.
#include "support/Deadline.h"

#include <thread>

namespace Deadline
{

std::chrono::steady_clock::duration event()
{
    return std::chrono::seconds(TARVO_TEST_EVENT_DEADLINE);
}

bool waitFor(const std::function<bool()>& a_happened)
{
    const std::chrono::steady_clock::time_point limit = std::chrono::steady_clock::now() + event();
    while (!a_happened())
    {
        if (std::chrono::steady_clock::now() >= limit)
            return a_happened();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}
