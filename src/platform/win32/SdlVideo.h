// Starts SDL's video subsystem once, for the first window of the process.
#pragma once

class SdlVideo
{
public:
    // False when SDL has no video driver here; the reason is logged.
    static bool start();
};
