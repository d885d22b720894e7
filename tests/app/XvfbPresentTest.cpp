// What the window shows under a real X server (Xvfb) when only the changed regions of each frame
// are presented equals what it shows when every frame is presented whole: a scripted game played
// into both, the window's pixels read back from the server at several frames, after a pause and
// after a switch to full screen (where the picture is scaled by a fraction).
#include <SDL.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/Launcher.h"
#include "game/CGame.h"
#include "platform/Platform.h"
#include "platform/automation/Automation.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/sdl/SdlBackend.h"
#include "support/Files.h"

// Last: Xlib's macros (None, Status, Bool) would rename what the headers above declare.
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace fs = std::filesystem;

namespace {

// Leaves the title, lets the paddle follow the ball, adds score, buys branched balls and the
// rocket, fires it with the button held and moves the mouse: most kinds of change a frame has.
constexpr const char* kXvfbScript =
    "1 key SPACE down\n2 key SPACE up\n"
    "20 key LCONTROL down\n20 key A down\n21 key A up\n30 key S down\n31 key S up\n"
    "40 key S down\n41 key S up\n45 key LCONTROL up\n50 key 6 down\n51 key 6 up\n"
    "60 key 7 down\n61 key 7 up\n65 button down\n70 mouse 40\n90 mouse -80\n";

enum class Step { Frame, Pause, Resume, FullScreen };
struct Checkpoint {
    int frame;  // grabbed after this frame was presented
    Step then;  // and what the window is then asked to do
};
constexpr Checkpoint kCheckpoints[] = {
    {5, Step::Frame},  {40, Step::Frame},       {75, Step::Pause},  {75, Step::Resume},
    {95, Step::Frame}, {100, Step::FullScreen}, {110, Step::Frame}, {130, Step::Frame},
};
constexpr int kXvfbFrames = 130;

// An X server of our own for the test, on a display number no other server holds; it does not reset
// when its last client goes, as each window below is one.
class Xvfb {
public:
    Xvfb() {
        if (access("/usr/bin/Xvfb", X_OK) != 0) return;
        for (int n = 150 + getpid() % 100; n < 400 && m_display.empty(); n += 7) {
            const std::string name = ":" + std::to_string(n);
            const fs::path socket = "/tmp/.X11-unix/X" + std::to_string(n);
            if (fs::exists(socket) || fs::exists("/tmp/.X" + std::to_string(n) + "-lock")) continue;
            m_pid = fork();
            if (m_pid == 0) {
                execl("/usr/bin/Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1280x1024x24", "-nolisten",
                      "tcp", "-noreset", static_cast<char*>(nullptr));
                _exit(127);
            }
            for (int i = 0; i < 500 && waitpid(m_pid, nullptr, WNOHANG) == 0; ++i) {
                // Ready once it takes a connection, which may come a little after its socket.
                if (::Display* d = fs::exists(socket) ? XOpenDisplay(name.c_str()) : nullptr) {
                    XCloseDisplay(d);
                    m_display = name;
                    break;
                }
                usleep(20000);
            }
        }
    }
    ~Xvfb() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    const std::string& DisplayName() const { return m_display; }

private:
    pid_t m_pid = -1;
    std::string m_display;
};

// The window's pixels as the X server holds them.
std::vector<uint32_t> Grab(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return {};
    Display* display = info.info.x11.display;
    XSync(display, False);
    XWindowAttributes a{};
    XGetWindowAttributes(display, info.info.x11.window, &a);
    XImage* image = XGetImage(display, info.info.x11.window, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
    if (!image) return {};
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<size_t>(a.width) * a.height + 2);
    pixels.push_back(a.width);
    pixels.push_back(a.height);
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) pixels.push_back(XGetPixel(image, x, y) & 0xFFFFFF);
    }
    XDestroyImage(image);
    return pixels;
}

SDL_Window* FindWindow() {
    for (Uint32 id = 1; id < 64; ++id) {
        if (SDL_Window* w = SDL_GetWindowFromID(id)) return w;
    }
    return nullptr;
}

// Plays the script headless, frame by frame, and presents every frame in an SDL window as well.
std::vector<std::vector<uint32_t>> PlayIntoWindow(bool wholeFrames) {
    std::ostringstream messages;
    plat::HeadlessBackend game(kFrameInterval, UINT32_MAX, messages);
    const plat::Result<std::vector<plat::InputEvent>> events = plat::ParseInputScript(kXvfbScript, "script");
    EXPECT_TRUE(events.Ok()) << events.Error();
    plat::InputPlayer script(events.Ok() ? *events : std::vector<plat::InputEvent>{});
    plat::Automation run(game);
    const plat::BackendScope installed(run);
    run.PlayScript(&script);
    run.KeepLastFrame(true);

    plat::DisplayOptions options;
    options.windowed = true;
    options.scale = 1;
    options.mute = true;
    options.renderer = plat::DisplayOptions::Renderer::Software;
    options.wholeFrames = wholeFrames;
    std::string problem;
    std::unique_ptr<plat::Backend> window = CreateSdlBackend(options, kGameShape, &problem);
    std::vector<std::vector<uint32_t>> grabs;
    if (!window || !window->CreateMainWindow("Tarvik") || !window->VideoSetMode(800, 600, false)) {
        ADD_FAILURE() << "no window: " << problem << SDL_GetError();
        return grabs;
    }
    auto cg = std::make_unique<CGame>();
    cg->LoadAssets();
    cg->NewGame();
    size_t next = 0;
    for (int frame = 1; frame <= kXvfbFrames; ++frame) {
        plat::Message m;
        plat::PeekMessage(&m);  // the headless clock moves a frame on
        plat::BeforeTick(frame);
        cg->Tick();
        window->VideoPresent(run.LastFrame().data(), 800, 600);
        while (window->PeekMessage(&m)) {  // exposes, resizes and focus reach the presentation
            window->GetMessage(&m);
            window->DispatchMessage(m);
        }
        for (; next < std::size(kCheckpoints) && kCheckpoints[next].frame == frame; ++next) {
            grabs.push_back(Grab(FindWindow()));
            switch (kCheckpoints[next].then) {
                case Step::Pause:
                    window->DispatchMessage(plat::Message{plat::MessageKind::FocusLost});
                    grabs.push_back(Grab(FindWindow()));
                    break;
                case Step::Resume:
                    window->DispatchMessage(plat::Message{plat::MessageKind::FocusGained});
                    break;
                case Step::FullScreen:
                    window->DispatchMessage(plat::Message{plat::MessageKind::ToggleFullscreen});
                    break;
                case Step::Frame:
                    break;
            }
        }
    }
    cg->Shutdown();
    window.reset();
    return grabs;
}

}  // namespace

TEST(XvfbPresent, ChangedRegionsShowWhatWholeFramesShow) {
    Xvfb server;
    if (server.DisplayName().empty()) GTEST_SKIP() << "no Xvfb (scripts/deps.sh installs it)";
    const fs::path before = fs::current_path();
    fs::current_path(BuildDataDir());
    setenv("DISPLAY", server.DisplayName().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    const std::vector<std::vector<uint32_t>> regions = PlayIntoWindow(false);
    const std::vector<std::vector<uint32_t>> whole = PlayIntoWindow(true);
    unsetenv("SDL_VIDEODRIVER");
    unsetenv("DISPLAY");
    fs::current_path(before);
    ASSERT_EQ(regions.size(), whole.size());
    ASSERT_EQ(regions.size(), std::size(kCheckpoints) + 1);  // the pause adds one
    for (size_t i = 0; i < regions.size(); ++i) {
        SCOPED_TRACE(::testing::Message() << "grab " << i);
        ASSERT_GE(regions[i].size(), 2u);
        EXPECT_EQ(regions[i][0] * regions[i][1] + 2, regions[i].size());
        EXPECT_TRUE(regions[i] == whole[i]);
    }
    // Full screen fills the height: the last grabs are of the whole 1280 x 1024 screen.
    EXPECT_EQ(regions.back()[0], 1280u);
    EXPECT_EQ(regions.back()[1], 1024u);
}
