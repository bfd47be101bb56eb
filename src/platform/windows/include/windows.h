// mingw-w64's windows.h, with what the system needs of it that 64-bit
// Windows leaves out. Each item is listed in WINDOWS.md.
#pragma once
// The real header is a system header; so is this one, where #include_next
// and the redefinitions below are not the system's code.
#pragma GCC system_header

#include_next <windows.h>

// The system keeps its icons in 32-bit class values (GCL_HICON), as 32-bit
// Windows does; 64-bit windows.h names those slots GCLP_* only, for
// SetClassLongPtrA. Icon handles are 32-bit values on 64-bit Windows too
// (user handles are shared with 32-bit processes), so nothing is lost: the
// call goes to the pointer-sized slot.
#if defined(__cplusplus) && defined(_WIN64) && !defined(GCL_HICON)
#define GCL_HICON GCLP_HICON
#define GCL_HICONSM GCLP_HICONSM
inline DWORD tarvoSetClassLongA(HWND a_window, int a_index, LONG a_value)
{
    if (a_index == GCLP_HICON || a_index == GCLP_HICONSM)
        return static_cast<DWORD>(SetClassLongPtrA(a_window, a_index, a_value));
    return SetClassLongA(a_window, a_index, a_value);
}
#define SetClassLongA tarvoSetClassLongA
#endif
