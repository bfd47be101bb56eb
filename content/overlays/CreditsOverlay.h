// The two credits pages, held steady over the picture: what made the production, and the libraries it stands on.
#pragma once

class OverlayCanvas;

class CreditsOverlay
{
public:
    // Page 1: the roles (code, graphics, music) and the means behind each.
    static void paintMakers(OverlayCanvas& a_canvas);
    // Page 2: thanks to the open-source libraries and fonts the program uses.
    static void paintThanks(OverlayCanvas& a_canvas);
};
