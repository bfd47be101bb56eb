// The one way the program tells the user that something went wrong: a modal
// message box, shown at most once per run, raised where the failure is first
// detected.
#pragma once

// True once a fatal error has been shown; later ones are dropped.
extern bool g_fatalErrorShown;

void fatalError(const char* a_text);

// Shows "subject: text", e.g. a file name and "File not found.".
void fatalError(const char* a_subject, const char* a_text);
