// The process entry: Linux starts main, the program starts at WinMain.
#include <windows.h>

int main(int, char**)
{
    return WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWDEFAULT);
}
