// Included by the program's main.cpp. On Windows, SDL2main is the entry point (for the console and
// the GUI program alike): it reads the wide command line and hands main, renamed SDL_main here,
// its arguments in UTF-8, whatever the ANSI code page. Elsewhere main stays main.
#pragma once

#include <SDL_main.h>
