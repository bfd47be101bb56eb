// Once-only fatal error box.
#include "core/FatalError.h"

#include "core/Assert.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

bool g_fatalErrorShown = false;

namespace
{
const char kCaption[] = "Tarvo2 - Fatal error";
}

void fatalError(const char* a_text)
{
    if (g_fatalErrorShown)
        return;
    MessageBoxA(nullptr, a_text, kCaption, MB_ICONERROR);
    g_fatalErrorShown = true;
}

void fatalError(const char* a_subject, const char* a_text)
{
    if (g_fatalErrorShown)
        return;

    // Subject, ": ", text and the terminator.
    const size_t size = strlen(a_subject) + strlen(a_text) + 3;
    char* message = static_cast<char*>(malloc(size));
    TARVO_ASSERT(message);
    snprintf(message, size, "%s: %s", a_subject, a_text);
    fatalError(message);
    free(message);
}
