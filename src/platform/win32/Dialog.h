// A modal dialog from a template of the resource table: the dialog window
// and its controls, drawn with Dear ImGui on an OpenGL context of its own,
// running until its procedure calls EndDialog.
#pragma once

#include "DialogCanvas.h"
#include "Resources.h"

#include <windows.h>

#include <SDL.h>

#include <deque>
#include <map>

class Window;
struct ImGuiContext;

class Dialog : public DialogCanvas
{
public:
    // DialogBoxParamA: the value given to EndDialog, or -1 when the dialog
    // cannot be made.
    static INT_PTR run(const DialogTemplate& a_template, DLGPROC a_procedure, LPARAM a_parameter);

    static Dialog* fromHandle(HWND a_dialog);
    // IsDialogMessageA: false for a message meant for no window of this
    // dialog; else runs the dialog's keys, or translates and dispatches it.
    bool takeMessage(const MSG& a_message);
    void end(INT_PTR a_result);

    // Template positions are in dialog units of the template's font: a
    // quarter of its average character width and an eighth of its height.
    static RECT toPixels(short a_x, short a_y, short a_cx, short a_cy);

    void* bitmapTexture(LPCSTR a_name, int& a_width, int& a_height) override;
    int defaultButton() const override { return m_defaultButton; }

private:
    Dialog(const DialogTemplate& a_template, DLGPROC a_procedure);
    ~Dialog();

    bool create();
    bool createControls();
    void loop();
    // Dispatches what was posted to any window, the dialog's own messages
    // through takeMessage, until the dialog ends.
    void dispatchPosted();
    void handleEvent(const SDL_Event& a_event);
    void applyInput(const SDL_Event& a_event);
    void postClick(const SDL_MouseButtonEvent& a_button);
    bool dialogKey(const MSG& a_message);
    // The tab stop after (a_direction +1) or before (-1) a_from, in template
    // order and wrapping; the first or last for a_from null.
    Window* nextTabStop(Window* a_from, int a_direction) const;
    void frame();

    static LRESULT CALLBACK windowProcedure(HWND a_window, UINT a_message, WPARAM a_wParam,
                                            LPARAM a_lParam);

    struct Texture
    {
        unsigned int name;  // GL texture
        int width;
        int height;
    };

    const DialogTemplate& m_template;
    DLGPROC m_procedure;
    Window* m_window = nullptr;
    SDL_GLContext m_gl = nullptr;
    ImGuiContext* m_imgui = nullptr;
    std::map<UINT_PTR, Texture> m_textures;  // by bitmap id
    std::deque<SDL_Event> m_input;           // fed to ImGui one per frame
    Uint32 m_lastFrame = 0;                  // SDL ticks
    int m_defaultButton = -1;
    bool m_ended = false;
    INT_PTR m_result = -1;
};
