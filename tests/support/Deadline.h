// How long a test waits for an event it expects (a position reached, a sample
// heard): the suite's one deadline, set in tests/CMakeLists.txt, generous for
// a loaded machine. A wait ends as soon as the event happens.
#pragma once

#include <chrono>
#include <functional>

namespace Deadline
{

// The longest a test waits for any one event.
std::chrono::steady_clock::duration event();

// Polls a_happened until it returns true or event() has passed; returns its
// last answer.
bool waitFor(const std::function<bool()>& a_happened);

}
