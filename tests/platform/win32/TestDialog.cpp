#include "platform/win32/TestDialog.h"

#include "platform/win32/TestDialogResource.h"
#include "support/ArchiveBuilder.h"

#include <stdlib.h>

namespace
{

TestDialog::Run* g_run = nullptr;

// The set-1 scan codes of the keys the tests press.
LPARAM scanCode(WPARAM a_virtualKey)
{
    const struct
    {
        WPARAM virtualKey;
        DWORD code;  // with the extended-key bit 24
    } codes[] = {
        {VK_TAB, 0x0F},   {VK_RETURN, 0x1C},     {VK_ESCAPE, 0x01},
        {VK_SPACE, 0x39}, {VK_UP, 0x48 | 0x100}, {VK_DOWN, 0x50 | 0x100},
    };
    for (const auto& entry : codes)
    {
        if (entry.virtualKey == a_virtualKey)
            return static_cast<LPARAM>(entry.code << 16);
    }
    return 0;
}

int focusedControl(HWND a_dialog)
{
    const HWND focus = GetFocus();
    for (int id : {IDC_TEST_LAUNCH, IDC_TEST_EXIT, IDC_TEST_MODES, IDC_TEST_LOOP})
    {
        if (focus && GetDlgItem(a_dialog, id) == focus)
            return id;
    }
    return 0;
}

// Posts the next input, then WM_APP behind it to post the one after: each
// input reaches the focus as it is once the inputs before have been taken.
void playNext(HWND a_dialog)
{
    std::vector<TestDialog::Input>& inputs = g_run->inputs;
    if (inputs.empty())
    {
        EndDialog(a_dialog, TestDialog::kInputsRanOut);
        return;
    }
    const TestDialog::Input input = inputs.front();
    inputs.erase(inputs.begin());
    HWND target = input.control ? GetDlgItem(a_dialog, input.control) : GetFocus();
    if (!target)
        target = a_dialog;
    if (input.message == 0)
    {
        SetFocus(target);
    }
    else
    {
        LPARAM lParam = input.lParam;
        if (lParam == TestDialog::kCentre)
        {
            RECT client = {};
            GetClientRect(target, &client);
            lParam = MAKELPARAM(client.right / 2, client.bottom / 2);
        }
        PostMessageA(target, input.message, input.wParam, lParam);
    }
    PostMessageA(a_dialog, WM_APP, 0, 0);
}

}

std::vector<TestDialog::Input> TestDialog::keys(std::initializer_list<WPARAM> a_virtualKeys)
{
    std::vector<Input> inputs;
    for (WPARAM key : a_virtualKeys)
    {
        const LPARAM down = 1 | scanCode(key);
        inputs.push_back(Input{0, WM_KEYDOWN, key, down});
        inputs.push_back(Input{0, WM_KEYUP, key, static_cast<LPARAM>(0xC0000000u) | down});
    }
    return inputs;
}

std::vector<TestDialog::Input> TestDialog::click(int a_control, LPARAM a_release)
{
    return {Input{a_control, WM_LBUTTONDOWN, MK_LBUTTON, kCentre},
            Input{a_control, WM_LBUTTONUP, 0, a_release}};
}

const WPARAM TestDialog::kListFocus = MAKEWPARAM(IDC_TEST_MODES, CBN_SETFOCUS);
const WPARAM TestDialog::kListUntaken = MAKEWPARAM(IDC_TEST_MODES, CBN_SELENDCANCEL);
const WPARAM TestDialog::kListBlur = MAKEWPARAM(IDC_TEST_MODES, CBN_KILLFOCUS);

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
        if (!g_run->inputs.empty())
            PostMessageA(a_dialog, WM_APP, 0, 0);
        return TRUE;
    case WM_APP:
        playNext(a_dialog);
        return TRUE;
    case WM_COMMAND:
        g_run->commands.push_back(a_wParam);
        g_run->focusAtCommand.push_back(focusedControl(a_dialog));
        g_run->loopAtCommand.push_back(
            static_cast<WPARAM>(SendDlgItemMessageA(a_dialog, IDC_TEST_LOOP, BM_GETCHECK, 0, 0)));
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

INT_PTR TestDialog::play(std::vector<Input> a_inputs, std::function<void(HWND)> a_onInit)
{
    m_run.inputs = std::move(a_inputs);
    return show(std::move(a_onInit));
}

INT_PTR TestDialog::show(std::function<void(HWND)> a_onInit)
{
    m_run.onInit = std::move(a_onInit);
    g_run = &m_run;
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TEST), nullptr,
                           procedure, 77);
}
