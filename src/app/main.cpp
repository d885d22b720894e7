// The plinkwell executable: the launcher, given the interactive backend this build has.
#include <string>
#include <vector>

#include "app/Launcher.h"

#if defined(PLINKWELL_HAVE_SDL) && __has_include("platform/sdl/SdlBackend.h")
#include "platform/sdl/SdlBackend.h"
#define PLINKWELL_WINDOWED 1
#endif

namespace {

#ifdef PLINKWELL_WINDOWED
std::unique_ptr<plat::Backend> CreateWindowedBackend(const Options& o) {
    SdlOptions sdl;
    sdl.windowed = o.windowed;
    sdl.scale = o.scale;
    sdl.mouseSpeed = o.mouseSpeed;
    sdl.mute = o.mute;
    switch (o.renderer) {
        case Options::Renderer::Auto:
            sdl.renderer = SdlOptions::Renderer::Auto;
            break;
        case Options::Renderer::Software:
            sdl.renderer = SdlOptions::Renderer::Software;
            break;
        case Options::Renderer::Accelerated:
            sdl.renderer = SdlOptions::Renderer::Accelerated;
            break;
    }
    sdl.verbose = o.verbose;
    return CreateSdlBackend(sdl);
}
#endif

}  // namespace

int main(int argc, char** argv) {
    LaunchContext context;
#ifdef PLINKWELL_WINDOWED
    context.windowed = CreateWindowedBackend;
#endif
    return RunPlinkwell(std::vector<std::string>(argv + 1, argv + argc), context);
}
