#include "platform/win32/TestDialog.h"

#include "platform/win32/TestDialogResource.h"
#include "support/ArchiveBuilder.h"

#include <stdlib.h>

namespace
{

TestDialog::Run* g_run = nullptr;

}

const DialogTemplate TestDialog::kTemplate = {
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER,
    0,
    0,
    0,
    266,
    149,
    "Test",
    "MS Shell Dlg 2",
    8,
    {
        {"Button", "Launch", IDC_TEST_LAUNCH, 201, 104, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
        {"Button", "Exit", IDC_TEST_EXIT, 201, 123, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
        {"ComboBox", "", IDC_TEST_MODES, 17, 112, 104, 200,
         CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP},
        {"Static", "Display mode:", -1, 17, 99, 80, 8, SS_LEFT | WS_GROUP},
        {"Static", MAKEINTRESOURCEA(IDB_TEST_BANNER), -1, 0, -1, 267, 92, SS_BITMAP},
        {"Button", "Loop", IDC_TEST_LOOP, 82, 131, 39, 10, BS_AUTOCHECKBOX | WS_TABSTOP},
    },
};

INT_PTR CALLBACK TestDialog::procedure(HWND a_dialog, UINT a_message, WPARAM a_wParam,
                                       LPARAM a_lParam)
{
    switch (a_message)
    {
    case WM_INITDIALOG:
        g_run->focusAtInit = reinterpret_cast<HWND>(a_wParam);
        g_run->parameter = a_lParam;
        if (g_run->onInit)
            g_run->onInit(a_dialog);
        return TRUE;
    case WM_COMMAND:
        g_run->commands.push_back(a_wParam);
        if (LOWORD(a_wParam) == IDC_TEST_LAUNCH)
            EndDialog(a_dialog, 0);
        else if (LOWORD(a_wParam) == IDC_TEST_EXIT || LOWORD(a_wParam) == IDCANCEL)
            EndDialog(a_dialog, -1);
        return TRUE;
    default:
        return FALSE;
    }
}

void TestDialog::SetUpTestSuite()
{
#ifndef _WIN32
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
#endif
    static const std::vector<uint8_t> banner = readBytes(TARVO_TEST_BANNER_BMP);
    static const std::vector<uint8_t> icon = readBytes(TARVO_TEST_ICON_BMP);
    Resources::addDialog(IDD_TEST, &kTemplate);
    Resources::addBitmap(IDB_TEST_BANNER, banner.data(), banner.size());
    Resources::addIcon(IDI_TEST, icon.data(), icon.size());
}

INT_PTR TestDialog::show(std::function<void(HWND)> a_onInit)
{
    m_run.onInit = std::move(a_onInit);
    g_run = &m_run;
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TEST), nullptr,
                           procedure, 77);
}
