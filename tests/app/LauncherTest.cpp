// The launcher dialog: the display modes it offers and the defaults it picks
// for an adapter's mode list, and the settings Launch reads, worked with the
// keyboard on the real dialog template.
//
// Untested: choosing another display mode with the mouse (the drop-down
// list's rows are placed by the dialog manager, not by the template).
#include "app/Launcher.h"

#include "core/FatalError.h"
#include "app/LauncherResources.h"
#include "app/resource.h"
#include "support/LaunchSettings.h"

#include <D3D9Testing.h>
#include <MessageBoxRecorder.h>
#include <Window.h>

#include <SDL.h>
#include <gtest/gtest.h>

#include <stdlib.h>

#include <functional>
#include <string>
#include <vector>

namespace
{

constexpr INT_PTR kInspected = 7;  // the harness ended the dialog after looking

struct Entry
{
    std::string text;
    LRESULT data;
};

struct Offer
{
    std::vector<Entry> modes;
    LRESULT mode = CB_ERR;  // selected entry
    std::vector<std::string> aspects;
    LRESULT aspect = CB_ERR;
};

std::function<void(HWND)> g_afterInit;

// The real procedure, with a hook after WM_INITDIALOG to look or to type.
INT_PTR CALLBACK harness(HWND a_dialog, UINT a_message, WPARAM a_wParam, LPARAM a_lParam)
{
    const INT_PTR result = launcherProc(a_dialog, a_message, a_wParam, a_lParam);
    if (a_message == WM_INITDIALOG && g_afterInit)
        g_afterInit(a_dialog);
    return result;
}

std::string itemText(HWND a_dialog, int a_id, LRESULT a_index)
{
    char text[64] = {};
    SendDlgItemMessageA(a_dialog, a_id, CB_GETLBTEXT, static_cast<WPARAM>(a_index),
                        reinterpret_cast<LPARAM>(text));
    return text;
}

Offer inspect(HWND a_dialog)
{
    Offer offer;
    const LRESULT modes = SendDlgItemMessageA(a_dialog, IDC_DISPLAYMODE, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < modes; ++index)
        offer.modes.push_back(Entry{itemText(a_dialog, IDC_DISPLAYMODE, index),
                                    SendDlgItemMessageA(a_dialog, IDC_DISPLAYMODE, CB_GETITEMDATA,
                                                        static_cast<WPARAM>(index), 0)});
    offer.mode = SendDlgItemMessageA(a_dialog, IDC_DISPLAYMODE, CB_GETCURSEL, 0, 0);
    const LRESULT aspects = SendDlgItemMessageA(a_dialog, IDC_ASPECT, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < aspects; ++index)
        offer.aspects.push_back(itemText(a_dialog, IDC_ASPECT, index));
    offer.aspect = SendDlgItemMessageA(a_dialog, IDC_ASPECT, CB_GETCURSEL, 0, 0);
    return offer;
}

void pushKeys(HWND a_dialog, const std::vector<SDL_Scancode>& a_keys)
{
    const Uint32 window = SDL_GetWindowID(Window::fromHandle(a_dialog)->sdlWindow());
    for (SDL_Scancode key : a_keys)
    {
        for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP})
        {
            SDL_Event event = {};
            event.type = type;
            event.key.windowID = window;
            event.key.keysym.scancode = key;
            SDL_PushEvent(&event);
        }
    }
}

D3DDISPLAYMODE mode(UINT a_width, UINT a_height, UINT a_refresh = 60)
{
    return D3DDISPLAYMODE{a_width, a_height, a_refresh, D3DFMT_X8R8G8B8};
}

class LauncherTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        registerLauncherResources();
    }

    void SetUp() override { LaunchSettings::reset(); }

    void TearDown() override
    {
        LaunchSettings::reset();
        g_afterInit = nullptr;
    }

    INT_PTR run(const std::vector<D3DDISPLAYMODE>& a_modes, std::function<void(HWND)> a_afterInit)
    {
        D3D9Testing::setDisplayModes(a_modes);
        g_afterInit = std::move(a_afterInit);
        return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LAUNCHER), nullptr,
                               harness, 0);
    }

    Offer offerFor(const std::vector<D3DDISPLAYMODE>& a_modes)
    {
        Offer offer;
        const INT_PTR result = run(a_modes, [&](HWND a_dialog) {
            offer = inspect(a_dialog);
            EndDialog(a_dialog, kInspected);
        });
        EXPECT_EQ(result, kInspected);
        return offer;
    }

    MessageBoxRecorder m_boxes;
};

}

// Each resolution of at least 1280 x 720 and at most 1.78 wide is offered
// once, in enumeration order, carrying its first mode's index; the smallest
// is selected, and its ratio picks the aspect.
TEST_F(LauncherTest, OffersQualifyingModes)
{
    const std::vector<std::string> kAspects = {"4:3", "5:4", "16:9", "16:10"};
    const struct
    {
        const char* name;
        std::vector<D3DDISPLAYMODE> modes;
        std::vector<Entry> offered;
        LRESULT selected;
        LRESULT aspect;
    } cases[] = {
        {"refresh rates share an entry",
         {mode(1920, 1080), mode(1280, 720, 60), mode(1280, 720, 75), mode(1600, 900)},
         {{"1920x1080", 0}, {"1280x720", 1}, {"1600x900", 3}},
         1,
         2},
        {"too small or too wide is left out",
         {mode(1024, 768), mode(1280, 600), mode(2560, 1080), mode(1920, 1079), mode(1921, 1079)},
         {{"1920x1079", 3}},
         0,
         2},
        {"1366 x 768 is none of the ratios", {mode(1366, 768)}, {{"1366x768", 0}}, 0, 2},
        {"1280 x 1024 is 5:4",
         {mode(1920, 1080), mode(1280, 1024)},
         {{"1920x1080", 0}, {"1280x1024", 1}},
         1,
         1},
        {"1600 x 1200 is 4:3",
         {mode(1600, 1200), mode(1920, 1200)},
         {{"1600x1200", 0}, {"1920x1200", 1}},
         0,
         0},
        {"1680 x 1050 is 16:10", {mode(1680, 1050)}, {{"1680x1050", 0}}, 0, 3},
        {"equal areas: the first enumerated",
         {mode(1440, 1080), mode(1296, 1200)},
         {{"1440x1080", 0}, {"1296x1200", 1}},
         0,
         0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const Offer offer = offerFor(c.modes);
        ASSERT_EQ(offer.modes.size(), c.offered.size());
        for (size_t index = 0; index < c.offered.size(); ++index)
        {
            EXPECT_EQ(offer.modes[index].text, c.offered[index].text);
            EXPECT_EQ(offer.modes[index].data, c.offered[index].data);
        }
        EXPECT_EQ(offer.mode, c.selected);
        EXPECT_EQ(offer.aspects, kAspects);
        EXPECT_EQ(offer.aspect, c.aspect);
    }
    EXPECT_TRUE(m_boxes.boxes().empty());
}

// No qualifying mode: the fatal error, and the dialog ends with -1 at once.
TEST_F(LauncherTest, NoQualifyingModeEndsTheDialog)
{
    bool inspected = false;
    const INT_PTR result =
        run({mode(2560, 1080), mode(1024, 768)}, [&](HWND) { inspected = true; });
    EXPECT_EQ(result, -1);
    ASSERT_EQ(m_boxes.boxes().size(), 1u);
    EXPECT_EQ(m_boxes.boxes()[0].text, "None of the supported display modes found.");
    EXPECT_EQ(m_boxes.boxes()[0].caption, "Tarvo2 - Fatal error");
}

// Launch reads the chosen mode's index, the boxes and the aspect; a full
// screen run hides the cursor, a windowed one does not. Exit and the close
// box end with -1 and read nothing.
TEST_F(LauncherTest, LaunchReadsTheSettings)
{
    const std::vector<D3DDISPLAYMODE> modes = {mode(1920, 1080), mode(1280, 720), mode(1280, 1024)};
    const struct
    {
        const char* name;
        std::vector<SDL_Scancode> keys;  // tab order: Launch, Exit, Loop, Windowed
        INT_PTR result;
        int32_t displayMode;
        bool windowed;
        bool loop;
        float aspect;
        bool cursorHidden;
    } cases[] = {
        {"Enter launches full screen",
         {SDL_SCANCODE_RETURN},
         0,
         1,
         false,
         false,
         16.0f / 9.0f,
         true},
        {"Windowed and Loop ticked",
         {SDL_SCANCODE_TAB, SDL_SCANCODE_TAB, SDL_SCANCODE_SPACE, SDL_SCANCODE_TAB,
          SDL_SCANCODE_SPACE, SDL_SCANCODE_RETURN},
         0,
         1,
         true,
         true,
         16.0f / 9.0f,
         false},
        {"Exit", {SDL_SCANCODE_TAB, SDL_SCANCODE_SPACE}, -1, -1, false, false, -1.0f, false},
        {"Escape does nothing; then Exit",
         {SDL_SCANCODE_ESCAPE, SDL_SCANCODE_TAB, SDL_SCANCODE_RETURN},
         -1,
         -1,
         false,
         false,
         -1.0f,
         false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        SetUp();
        const int cursorBefore = ShowCursor(TRUE) - 1;
        ShowCursor(FALSE);
        const INT_PTR result = run(modes, [&](HWND a_dialog) { pushKeys(a_dialog, c.keys); });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(g_displayMode, c.displayMode);
        EXPECT_EQ(g_windowed, c.windowed);
        EXPECT_EQ(g_loop, c.loop);
        EXPECT_EQ(g_aspect, c.aspect);
        const int cursorAfter = ShowCursor(TRUE) - 1;
        ShowCursor(FALSE);
        EXPECT_EQ(cursorAfter, c.cursorHidden ? cursorBefore - 1 : cursorBefore);
        if (c.cursorHidden)
            ShowCursor(TRUE);
    }

    // The close box is Exit.
    const INT_PTR closed = run(modes, [](HWND a_dialog) {
        SDL_Event event = {};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = SDL_GetWindowID(Window::fromHandle(a_dialog)->sdlWindow());
        event.window.event = SDL_WINDOWEVENT_CLOSE;
        SDL_PushEvent(&event);
    });
    EXPECT_EQ(closed, -1);
    EXPECT_EQ(g_displayMode, -1);
}
