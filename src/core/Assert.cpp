// Reports a failed assertion and aborts.
#include "core/Assert.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace
{

// The file's own name: sources are reported without their build path.
const char* sourceName(const char* a_file)
{
    const char* slash = strrchr(a_file, '/');
    return slash ? slash + 1 : a_file;
}

}

void assertionFailed(const char* a_expression, const char* a_file, unsigned a_line)
{
    fprintf(stderr, "Assertion failed: %s, file %s, line %u\n", a_expression, sourceName(a_file),
            a_line);
    fflush(stderr);
    abort();
}
