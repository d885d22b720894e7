// The plinkwell executable: the launcher, given the interactive backend this build has.
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "app/Launcher.h"

#ifdef PLINKWELL_HAVE_SDL
#include "platform/sdl/SdlBackend.h"
#include "platform/sdl/SdlMain.h"
#endif

namespace {

#ifdef PLINKWELL_HAVE_SDL
std::unique_ptr<plat::Backend> CreateWindowedBackend(const Options& o, std::string* problem) {
    return CreateSdlBackend(o, kGameShape, problem);
}
#endif

}  // namespace

int main(int argc, char** argv) {
    LaunchContext context;
#ifdef PLINKWELL_HAVE_SDL
    context.windowed = CreateWindowedBackend;
#endif
    // The last catch: whatever escapes the launcher ends the run with one line, never an abort.
    try {
        return RunPlinkwell(std::vector<std::string>(argv + 1, argv + argc), context);
    } catch (const std::bad_alloc&) {
        std::cerr << "plinkwell: out of memory\n";
    } catch (const std::exception& e) {
        std::cerr << "plinkwell: " << e.what() << '\n';
    } catch (...) {
        std::cerr << "plinkwell: unexpected failure\n";
    }
    return 1;
}
