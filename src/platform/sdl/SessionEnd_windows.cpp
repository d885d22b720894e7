// WM_QUERYENDSESSION and WM_ENDSESSION are sent messages: the window procedure gets them inside
// the message pump, and SDL's message hook, which sees only posted messages, never does. So the
// window procedure itself is wrapped.
#include <SDL.h>
#include <SDL_syswm.h>
#include <windows.h>

#include "platform/base/RunEnd.h"
#include "platform/sdl/SessionEnd.h"

namespace plat::sdl {
namespace {

WNDPROC g_sdlProcedure = nullptr;

LRESULT CALLBACK OnWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUERYENDSESSION) return TRUE;  // nothing to save first: the session may end
    if (message == WM_ENDSESSION && wParam) {
        RunEnd::FinishNow();
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
        return 0;
    }
    return CallWindowProcW(g_sdlProcedure, window, message, wParam, lParam);
}

}  // namespace

void WatchSessionEnd(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WINDOWS) return;
    const HWND hwnd = info.info.win.window;
    const auto ours = reinterpret_cast<LONG_PTR>(&OnWindowMessage);
    if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == ours) return;
    g_sdlProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, ours));
}

}  // namespace plat::sdl
