// The program's assertion. It stays active in every build type, as the
// shipped program relies on it: a failed assertion reports the expression
// text, the source file's name and the line, then aborts the process the way
// the C runtime's assert does.
#pragma once

[[noreturn]] void assertionFailed(const char* a_expression, const char* a_file, unsigned a_line);

#define TARVO_ASSERT(a_expression)                                                                 \
    ((a_expression) ? static_cast<void>(0) : assertionFailed(#a_expression, __FILE__, __LINE__))
