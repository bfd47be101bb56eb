// Dispatch of control messages to the control's state.
#include "Control.h"

#include "Window.h"

LRESULT CALLBACK Control::procedure(HWND a_window, UINT a_message, WPARAM a_wParam, LPARAM a_lParam)
{
    Window* window = Window::fromHandle(a_window);
    if (!window || !window->control())
        return 0;
    return window->control()->handle(*window, a_message, a_wParam, a_lParam);
}

void Control::notify(Window& a_window, WORD a_code)
{
    if (Window* dialog = a_window.parent())
        dialog->send(WM_COMMAND, MAKEWPARAM(a_window.id(), a_code),
                     reinterpret_cast<LPARAM>(a_window.handle()));
}
