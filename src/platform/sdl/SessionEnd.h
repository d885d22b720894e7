// Windows: log-off and shut-down reach a program with a window only as messages to that window.
#pragma once

struct SDL_Window;

namespace plat::sdl {

// Makes the window answer the end of the session: the run's outputs are written (RunEnd) before it
// answers WM_ENDSESSION, after which Windows may end the process at any moment, and the game quits.
void WatchSessionEnd(SDL_Window* window);

}  // namespace plat::sdl
