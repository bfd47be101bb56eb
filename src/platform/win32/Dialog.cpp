// Modal dialogs over SDL, OpenGL and Dear ImGui.
#include "Dialog.h"

#include "ButtonControl.h"
#include "ComboBoxControl.h"
#include "MessageQueue.h"
#include "SdlVideo.h"
#include "StaticControl.h"
#include "Window.h"

#include <GL/gl.h>
#include <imgui.h>
#include <imgui/backends/imgui_impl_opengl2.h>

#include <string.h>

#include <memory>

namespace
{

// Base units of the template font, 8-point "MS Shell Dlg 2" at 96 dots per
// inch; the stand-in typeface below has about the same metrics.
constexpr int kBaseUnitX = 6;
constexpr int kBaseUnitY = 13;
const char kFontPath[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr float kFontPixels = 12.0f;

const char kDialogClass[] = "#32770";  // Win32's class of dialog boxes

std::map<Window*, Dialog*> g_dialogs;

// Rounds as Win32's MulDiv does: half away from zero.
int mulDiv(int a_value, int a_numerator, int a_denominator)
{
    const long long product = static_cast<long long>(a_value) * a_numerator;
    const long long half = a_denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / a_denominator
                                         : (product - half) / a_denominator);
}

// Win32's classic dialog: light grey face, black text, white fields.
void applyClassicStyle()
{
    ImGuiStyle& style = ImGui::GetStyle();
    style.WindowPadding = ImVec2(0.0f, 0.0f);
    style.WindowBorderSize = 0.0f;
    style.FrameBorderSize = 1.0f;
    style.FrameRounding = 2.0f;
    style.FramePadding = ImVec2(4.0f, 3.0f);
    ImVec4* colours = style.Colors;
    colours[ImGuiCol_Text] = ImVec4(0.0f, 0.0f, 0.0f, 1.0f);
    colours[ImGuiCol_WindowBg] = ImVec4(0.94f, 0.94f, 0.94f, 1.0f);
    colours[ImGuiCol_PopupBg] = ImVec4(1.0f, 1.0f, 1.0f, 1.0f);
    colours[ImGuiCol_Border] = ImVec4(0.44f, 0.44f, 0.44f, 1.0f);
    colours[ImGuiCol_FrameBg] = ImVec4(1.0f, 1.0f, 1.0f, 1.0f);
    colours[ImGuiCol_FrameBgHovered] = ImVec4(0.90f, 0.95f, 1.0f, 1.0f);
    colours[ImGuiCol_FrameBgActive] = ImVec4(0.80f, 0.89f, 0.97f, 1.0f);
    colours[ImGuiCol_Button] = ImVec4(0.88f, 0.88f, 0.88f, 1.0f);
    colours[ImGuiCol_ButtonHovered] = ImVec4(0.90f, 0.95f, 1.0f, 1.0f);
    colours[ImGuiCol_ButtonActive] = ImVec4(0.80f, 0.89f, 0.97f, 1.0f);
    colours[ImGuiCol_Header] = ImVec4(0.0f, 0.47f, 0.84f, 1.0f);
    colours[ImGuiCol_HeaderHovered] = ImVec4(0.80f, 0.89f, 0.97f, 1.0f);
    colours[ImGuiCol_HeaderActive] = ImVec4(0.0f, 0.47f, 0.84f, 1.0f);
    colours[ImGuiCol_CheckMark] = ImVec4(0.0f, 0.0f, 0.0f, 1.0f);
    colours[ImGuiCol_NavHighlight] = ImVec4(0.0f, 0.0f, 0.0f, 0.6f);
    colours[ImGuiCol_ScrollbarBg] = ImVec4(0.94f, 0.94f, 0.94f, 1.0f);
}

// A drop-down list's window is its closed field, 12 dialog units high as
// the dialog editor makes it; the template's height is that of the list
// dropped down below it, which covers the controls under the field only
// while it is open.
constexpr short kComboFieldHeight = 12;

std::unique_ptr<Control> makeControl(const DialogItemTemplate& a_item)
{
    if (strcmp(a_item.className, "Button") == 0)
        return std::make_unique<ButtonControl>(a_item.text, a_item.style);
    if (strcmp(a_item.className, "ComboBox") == 0)
        return std::make_unique<ComboBoxControl>(Dialog::toPixels(0, 0, 0, a_item.cy).bottom);
    if (strcmp(a_item.className, "Static") == 0)
        return std::make_unique<StaticControl>(a_item.text, a_item.style);
    return nullptr;
}

}

INT_PTR Dialog::run(const DialogTemplate& a_template, DLGPROC a_procedure, LPARAM a_parameter)
{
    if (!a_procedure)
        return -1;
    Dialog* dialog = new Dialog(a_template, a_procedure);
    INT_PTR result = -1;
    if (dialog->create())
    {
        // The first tab stop takes the focus when WM_INITDIALOG answers TRUE;
        // on FALSE the procedure has set the focus itself.
        Window* first = dialog->nextTabStop(nullptr, +1);
        const HWND firstControl = first ? first->handle() : nullptr;
        if (dialog->m_window->send(WM_INITDIALOG, reinterpret_cast<WPARAM>(firstControl),
                                   a_parameter) &&
            !dialog->m_ended)
            Window::setFocus(first);
        if (!dialog->m_ended && (a_template.style & WS_VISIBLE))
            ShowWindow(dialog->m_window->handle(), SW_SHOW);
        dialog->loop();
        result = dialog->m_result;
    }
    delete dialog;
    return result;
}

Dialog* Dialog::fromHandle(HWND a_dialog)
{
    const auto found = g_dialogs.find(Window::fromHandle(a_dialog));
    return found == g_dialogs.end() ? nullptr : found->second;
}

void Dialog::end(INT_PTR a_result)
{
    m_ended = true;
    m_result = a_result;
    // As Win32's EndDialog, the dialog takes the focus from its controls.
    Window* focus = Window::focus();
    if (m_window && focus && focus != m_window && focus->topLevel() == m_window)
        Window::setFocus(m_window);
    if (m_window)
        m_window->show(false);
}

RECT Dialog::toPixels(short a_x, short a_y, short a_cx, short a_cy)
{
    const int left = mulDiv(a_x, kBaseUnitX, 4);
    const int top = mulDiv(a_y, kBaseUnitY, 8);
    return RECT{left, top, left + mulDiv(a_cx, kBaseUnitX, 4), top + mulDiv(a_cy, kBaseUnitY, 8)};
}

void* Dialog::bitmapTexture(LPCSTR a_name, int& a_width, int& a_height)
{
    const UINT_PTR id = reinterpret_cast<UINT_PTR>(a_name);
    auto found = m_textures.find(id);
    if (found == m_textures.end())
    {
        const std::vector<uint8_t>* bmp = Resources::bitmap(a_name);
        if (!bmp)
            return nullptr;
        SDL_Surface* loaded =
            SDL_LoadBMP_RW(SDL_RWFromConstMem(bmp->data(), static_cast<int>(bmp->size())), 1);
        SDL_Surface* rgba =
            loaded ? SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ABGR8888, 0) : nullptr;
        SDL_FreeSurface(loaded);
        if (!rgba)
            return nullptr;
        Texture texture{0, rgba->w, rgba->h};
        glGenTextures(1, &texture.name);
        glBindTexture(GL_TEXTURE_2D, texture.name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, rgba->pitch / 4);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, rgba->w, rgba->h, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     rgba->pixels);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        SDL_FreeSurface(rgba);
        found = m_textures.emplace(id, texture).first;
    }
    a_width = found->second.width;
    a_height = found->second.height;
    return reinterpret_cast<void*>(static_cast<uintptr_t>(found->second.name));
}

Dialog::Dialog(const DialogTemplate& a_template, DLGPROC a_procedure)
    : m_template(a_template), m_procedure(a_procedure)
{
}

Dialog::~Dialog()
{
    if (m_imgui)
    {
        for (const auto& texture : m_textures)
            glDeleteTextures(1, &texture.second.name);
        ImGui_ImplOpenGL2_Shutdown();
        ImGui::DestroyContext(m_imgui);
    }
    if (m_gl)
        SDL_GL_DeleteContext(m_gl);
    if (m_window)
    {
        g_dialogs.erase(m_window);
        DestroyWindow(m_window->handle());
    }
}

bool Dialog::create()
{
    if (!SdlVideo::start())
        return false;

    WNDCLASSA dialogClass = {};
    dialogClass.lpfnWndProc = windowProcedure;
    dialogClass.lpszClassName = kDialogClass;
    const RECT client = toPixels(0, 0, m_template.cx, m_template.cy);
    int x = mulDiv(m_template.x, kBaseUnitX, 4);
    int y = mulDiv(m_template.y, kBaseUnitY, 8);
    if (m_template.style & DS_CENTER)
    {
        x = (GetSystemMetrics(SM_CXSCREEN) - client.right) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - client.bottom) / 2;
    }
    m_window = Window::create(dialogClass, m_template.caption, m_template.style & ~WS_VISIBLE, x, y,
                              client.right, client.bottom);
    if (!m_window)
        return false;
    g_dialogs[m_window] = this;

    m_gl = SDL_GL_CreateContext(m_window->sdlWindow());
    if (!m_gl)
    {
        SDL_Log("DialogBoxParamA: %s", SDL_GetError());
        return false;
    }
    m_imgui = ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    // ImGui hears no keys: they reach the dialog manager and the controls as
    // messages (takeMessage).
    if (FILE* font = fopen(kFontPath, "rb"))
    {
        fclose(font);
        io.Fonts->AddFontFromFileTTF(kFontPath, kFontPixels);
    }
    applyClassicStyle();
    ImGui_ImplOpenGL2_Init();
    return createControls();
}

bool Dialog::createControls()
{
    for (const DialogItemTemplate& item : m_template.items)
    {
        std::unique_ptr<Control> control = makeControl(item);
        if (!control)
            return false;
        if (strcmp(item.className, "Button") == 0 && (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            m_defaultButton = item.id;
        const bool combo = strcmp(item.className, "ComboBox") == 0;
        const short height = combo && item.cy > kComboFieldHeight ? kComboFieldHeight : item.cy;
        Window::createChild(m_window, std::move(control), item.id, item.style,
                            toPixels(item.x, item.y, item.cx, height));
    }
    return true;
}

// Waits for events rather than spinning: a dialog redraws when something
// happened, and at least a few times a second. As Win32's modal loop, it
// dispatches what was posted to any window of the thread meanwhile.
void Dialog::loop()
{
    while (!m_ended)
    {
        dispatchPosted();
        if (m_ended)
            break;
        // One input at a time, each behind what the ones before posted: as
        // Win32's input queue, a key goes to the focus as the keys before it
        // left it.
        SDL_Event event;
        if (m_input.empty() && SDL_WaitEventTimeout(&event, 100))
        {
            handleEvent(event);
            dispatchPosted();
        }
        while (!m_ended && SDL_PollEvent(&event))
        {
            handleEvent(event);
            dispatchPosted();
        }
        if (!m_ended)
            frame();
    }
}

void Dialog::dispatchPosted()
{
    MSG message;
    while (!m_ended && MessageQueue::takePosted(message))
    {
        if (!takeMessage(message))
        {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void Dialog::handleEvent(const SDL_Event& a_event)
{
    Window* target = nullptr;
    switch (a_event.type)
    {
    case SDL_WINDOWEVENT:
        target = Window::fromSdlId(a_event.window.windowID);
        if (target == m_window && a_event.window.event == SDL_WINDOWEVENT_CLOSE)
            m_window->send(WM_CLOSE, 0, 0);
        return;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        // Keys are the dialog manager's and the controls', as messages.
        if (Window::fromSdlId(a_event.key.windowID) == m_window)
            MessageQueue::postKey(*m_window, a_event.key);
        return;
    case SDL_MOUSEMOTION:
        target = Window::fromSdlId(a_event.motion.windowID);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        target = Window::fromSdlId(a_event.button.windowID);
        if (target == m_window)
            postClick(a_event.button);
        break;
    case SDL_MOUSEWHEEL:
        target = Window::fromSdlId(a_event.wheel.windowID);
        break;
    default:
        return;
    }
    if (target == m_window)
        m_input.push_back(a_event);
}

// ImGui sees the mouse, to draw the controls under it and to work an open
// drop-down list; the presses themselves reach the controls as messages.
void Dialog::applyInput(const SDL_Event& a_event)
{
    ImGuiIO& io = ImGui::GetIO();
    switch (a_event.type)
    {
    case SDL_MOUSEMOTION:
        io.MousePos =
            ImVec2(static_cast<float>(a_event.motion.x), static_cast<float>(a_event.motion.y));
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    {
        io.MousePos =
            ImVec2(static_cast<float>(a_event.button.x), static_cast<float>(a_event.button.y));
        const int button = a_event.button.button == SDL_BUTTON_LEFT    ? 0
                           : a_event.button.button == SDL_BUTTON_RIGHT ? 1
                                                                       : 2;
        io.MouseDown[button] = a_event.type == SDL_MOUSEBUTTONDOWN;
        break;
    }
    case SDL_MOUSEWHEEL:
        io.MouseWheel += static_cast<float>(a_event.wheel.y);
        break;
    default:
        break;
    }
}

bool Dialog::takeMessage(const MSG& a_message)
{
    Window* target = Window::fromHandle(a_message.hwnd);
    if (!target || target->topLevel() != m_window)
        return false;
    if (a_message.message == WM_KEYDOWN && dialogKey(a_message))
        return true;
    TranslateMessage(&a_message);
    DispatchMessageA(&a_message);
    return true;
}

// Win32's dialog keys, unless the focused control keeps them (WM_GETDLGCODE):
// Tab and Shift+Tab move the focus through the tab stops in template order,
// Enter presses the focused push button or else the default one, Escape
// sends IDCANCEL. Space and the arrows are the focused control's.
bool Dialog::dialogKey(const MSG& a_message)
{
    Window* focus = Window::focus();
    if (focus && focus->topLevel() != m_window)
        focus = nullptr;
    const LRESULT code =
        focus ? focus->send(WM_GETDLGCODE, a_message.wParam, reinterpret_cast<LPARAM>(&a_message))
              : 0;
    if (code & DLGC_WANTMESSAGE)
        return false;
    switch (a_message.wParam)
    {
    case VK_TAB:
        if (code & DLGC_WANTTAB)
            return false;
        Window::setFocus(nextTabStop(focus, (SDL_GetModState() & KMOD_SHIFT) ? -1 : +1));
        return true;
    case VK_RETURN:
    {
        const bool pushButton = (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
        const int id = pushButton ? focus->id() : (m_defaultButton >= 0 ? m_defaultButton : IDOK);
        HWND button = GetDlgItem(m_window->handle(), id);
        m_window->send(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        return true;
    }
    case VK_ESCAPE:
        m_window->send(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                       reinterpret_cast<LPARAM>(GetDlgItem(m_window->handle(), IDCANCEL)));
        return true;
    default:
        return false;
    }
}

// The left button, pressed or released over a control, is posted to it in
// its own client coordinates; an open drop-down list keeps the mouse.
void Dialog::postClick(const SDL_MouseButtonEvent& a_button)
{
    if (a_button.button != SDL_BUTTON_LEFT)
        return;
    for (Window* child : m_window->children())
    {
        if (child->control()->holdsMouse())
            return;
    }
    const UINT message = a_button.type == SDL_MOUSEBUTTONDOWN ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    const WPARAM buttons = message == WM_LBUTTONDOWN ? MK_LBUTTON : 0;
    for (Window* child : m_window->children())
    {
        const RECT& rect = child->rect();
        if (a_button.x >= rect.left && a_button.x < rect.right && a_button.y >= rect.top &&
            a_button.y < rect.bottom)
        {
            MessageQueue::post(child->handle(), message, buttons,
                               MAKELPARAM(a_button.x - rect.left, a_button.y - rect.top));
            return;
        }
    }
    MessageQueue::post(m_window->handle(), message, buttons, MAKELPARAM(a_button.x, a_button.y));
}

Window* Dialog::nextTabStop(Window* a_from, int a_direction) const
{
    const std::vector<Window*>& children = m_window->children();
    const int count = static_cast<int>(children.size());
    int index = -1;
    for (int at = 0; at < count; ++at)
    {
        if (children[at] == a_from)
            index = at;
    }
    int at = index >= 0 ? index : (a_direction > 0 ? -1 : count);
    for (int step = 0; step < count; ++step)
    {
        at = (at + a_direction + count) % count;
        if (children[at]->style() & WS_TABSTOP)
            return children[at];
    }
    return a_from;
}

// One ImGui frame. Input is applied one event per frame, so that a press and
// its release land on different frames, as ImGui needs to see a click.
void Dialog::frame()
{
    ImGui::SetCurrentContext(m_imgui);
    SDL_GL_MakeCurrent(m_window->sdlWindow(), m_gl);
    if (!m_input.empty())
    {
        const SDL_Event event = m_input.front();
        m_input.pop_front();
        applyInput(event);
        if (m_ended)
            return;
    }

    ImGuiIO& io = ImGui::GetIO();
    const RECT& rect = m_window->rect();
    io.DisplaySize = ImVec2(static_cast<float>(rect.right - rect.left),
                            static_cast<float>(rect.bottom - rect.top));
    const Uint32 now = SDL_GetTicks();
    io.DeltaTime = m_lastFrame == 0 || now <= m_lastFrame
                       ? 1.0f / 60.0f
                       : static_cast<float>(now - m_lastFrame) / 1000.0f;
    m_lastFrame = now;

    ImGui_ImplOpenGL2_NewFrame();
    ImGui::NewFrame();
    ImGui::SetNextWindowPos(ImVec2(0.0f, 0.0f));
    ImGui::SetNextWindowSize(io.DisplaySize);
    ImGui::Begin("dialog", nullptr,
                 ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove |
                     ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoBringToFrontOnFocus);
    // Controls are drawn, and reached with Tab, in template order. A control
    // may end the dialog from its notification; stop drawing then.
    const std::vector<Window*> children = m_window->children();
    for (Window* child : children)
    {
        ImGui::PushID(child);
        child->control()->draw(*child, *this);
        ImGui::PopID();
        if (child == Window::focus())
        {
            // Win32's focus rectangle around the control's face.
            const ImVec2 padding(2.0f, 2.0f);
            ImGui::GetWindowDrawList()->AddRect(ImVec2(ImGui::GetItemRectMin().x - padding.x,
                                                       ImGui::GetItemRectMin().y - padding.y),
                                                ImVec2(ImGui::GetItemRectMax().x + padding.x,
                                                       ImGui::GetItemRectMax().y + padding.y),
                                                IM_COL32(0, 0, 0, 160));
        }
        if (m_ended)
            break;
    }
    ImGui::End();
    ImGui::Render();

    glViewport(0, 0, static_cast<GLsizei>(io.DisplaySize.x),
               static_cast<GLsizei>(io.DisplaySize.y));
    const ImVec4& face = ImGui::GetStyle().Colors[ImGuiCol_WindowBg];
    glClearColor(face.x, face.y, face.z, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
    SDL_GL_SwapWindow(m_window->sdlWindow());
}

// The dialog manager's window procedure: the dialog's own procedure first;
// WM_CLOSE it leaves alone becomes IDCANCEL, as Win32's dialogs do.
LRESULT CALLBACK Dialog::windowProcedure(HWND a_window, UINT a_message, WPARAM a_wParam,
                                         LPARAM a_lParam)
{
    Dialog* dialog = fromHandle(a_window);
    if (!dialog)
        return 0;
    const INT_PTR handled = dialog->m_procedure(a_window, a_message, a_wParam, a_lParam);
    if (!handled && a_message == WM_CLOSE)
        dialog->m_procedure(a_window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return handled;
}
