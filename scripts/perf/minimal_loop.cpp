// The least a windowed SDL2 game loop does: show an 800 x 600 picture every 15 ms on SDL's software
// framebuffer, sleeping 1 ms between looks at the clock. With --busy it never sleeps (the naive
// polling loop). Stops after --frames N pictures (default 1320). Title "Minimal" or "Busy".
// Paced like the game: a millisecond clock on the steady clock, a frame when 15 ms have passed
// since the last one began. With PLINKWELL_FRAME_LOG=FILE it writes the game's frame log format:
// "<start ns> <end ns> <clock ms>" a frame.
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

int64_t Nanoseconds(Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

struct Frame {
    int64_t start, end;
    uint32_t clock;
};

void WriteLog(const std::vector<Frame>& frames) {
    const char* path = std::getenv("PLINKWELL_FRAME_LOG");
    std::FILE* file = path ? std::fopen(path, "w") : nullptr;
    if (!file) return;
    for (const Frame& f : frames) {
        std::fprintf(file, "%lld %lld %u\n", static_cast<long long>(f.start), static_cast<long long>(f.end),
                     f.clock);
    }
    std::fclose(file);
}

}  // namespace

int main(int argc, char** argv) {
    int frames = 1320;
    bool busy = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--busy") == 0) {
            busy = true;
        } else if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
            frames = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: minimal_loop [--busy] [--frames N]\n");
            return 2;
        }
    }
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* window = SDL_CreateWindow(busy ? "Busy" : "Minimal", SDL_WINDOWPOS_CENTERED,
                                          SDL_WINDOWPOS_CENTERED, 800, 600, 0);
    if (!window) {
        std::fprintf(stderr, "SDL_CreateWindow: %s\n", SDL_GetError());
        return 1;
    }
    std::vector<Frame> log;
    log.reserve(frames);
    const Clock::time_point origin = Clock::now();
    auto milliseconds = [&] {
        return static_cast<uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - origin).count());
    };
    uint32_t last = milliseconds() - 15;
    bool quit = false;
    while (!quit && static_cast<int>(log.size()) < frames) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) quit |= event.type == SDL_QUIT;
        const Clock::time_point start = Clock::now();
        const uint32_t now = milliseconds();
        if (now - last >= 15) {
            last = now;
            SDL_Surface* surface = SDL_GetWindowSurface(window);
            // A new picture every time: the whole surface in a colour that changes.
            SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, log.size() & 255, 64, 128));
            SDL_UpdateWindowSurface(window);
            log.push_back(Frame{Nanoseconds(start), Nanoseconds(Clock::now()), now});
        } else if (!busy) {
            SDL_Delay(1);
        }
    }
    SDL_DestroyWindow(window);
    SDL_Quit();
    WriteLog(log);
    return 0;
}
