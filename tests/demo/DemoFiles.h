// The loose files a whole demo loads, written into the working directory:
// the content's own programs, plain images under the demo's file names, a
// small scene under each of the five scene names, and a soundtrack.
#pragma once

namespace DemoFiles
{

// a_seconds of soundtrack ("KUV-2.mp3"): a tone with a beat on every
// quarter second, so the spectrum moves.
void write(double a_seconds);

// The names of the overlay and title images, as content loading reads them.
extern const char* const g_images[];
extern const int g_imageCount;

}
