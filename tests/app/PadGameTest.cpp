// A game played with only a gamepad: SDL's virtual game controller on the SDL backend under the
// dummy video driver. Start leaves the title, the stick moves the paddle, A launches, the
// shoulders and X buy item 3 with the cursor shown under it outside the game's own picture,
// unplugging pauses and plugging in again goes on; the recording replays to the same record.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "app/GameSnapshot.h"
#include "app/Launcher.h"
#include "platform/sdl/SdlBackend.h"
#include "support/Files.h"
#include "support/Json.h"

namespace {

// The virtual pad: values set now arrive at the backend's next event pump, before the next frame.
class VirtualPad {
public:
    VirtualPad() { Attach(); }
    ~VirtualPad() { Detach(); }
    void Attach() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        m_index = SDL_JoystickAttachVirtualEx(&desc);
        m_joystick = m_index >= 0 ? SDL_JoystickOpen(m_index) : nullptr;
        ASSERT_NE(m_joystick, nullptr) << SDL_GetError();
    }
    void Detach() {
        if (!m_joystick) return;
        SDL_JoystickClose(m_joystick);
        SDL_JoystickDetachVirtual(m_index);
        m_joystick = nullptr;
    }
    bool Attached() const { return m_joystick != nullptr; }
    void Button(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(m_joystick, button, down);
    }
    void Stick(int16_t x) { SDL_JoystickSetVirtualAxis(m_joystick, SDL_CONTROLLER_AXIS_LEFTX, x); }

private:
    int m_index = -1;
    SDL_Joystick* m_joystick = nullptr;
};

// The SDL backend with the pad beside it; a pause while the pad is unplugged plugs it in again.
class PadWindow : public plat::ForwardingBackend {
public:
    PadWindow(std::unique_ptr<plat::Backend> sdl, int* pausesWhileUnplugged)
        : ForwardingBackend(*sdl), m_sdl(std::move(sdl)), m_pauses(pausesWhileUnplugged) {}
    bool IsPaused() override {
        const bool paused = Inner().IsPaused();
        if (paused && !m_pad.Attached()) {
            ++*m_pauses;
            m_pad.Attach();
        }
        return paused;
    }
    VirtualPad& Pad() { return m_pad; }

private:
    std::unique_ptr<plat::Backend> m_sdl;  // SDL lives until the pad is gone
    VirtualPad m_pad;
    int* m_pauses;
};

// What the test does after a frame: a button tapped (down now, up after the next frame), the stick
// set, Left Ctrl + S pressed (the test's money for the shop, which then waits 20 frames), or the
// pad unplugged.
enum class Act { Tap, Stick, Money, Unplug };
struct PadStep {
    uint32_t frame;
    Act act;
    int value = 0;
};
constexpr PadStep kPadSteps[] = {
    {5, Act::Tap, SDL_CONTROLLER_BUTTON_START},
    {20, Act::Stick, 32767},
    {30, Act::Stick, 0},
    {140, Act::Tap, SDL_CONTROLLER_BUTTON_A},
    {150, Act::Money},
    {175, Act::Tap, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER},
    {177, Act::Tap, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER},
    {179, Act::Tap, SDL_CONTROLLER_BUTTON_X},
    {190, Act::Unplug},
};
constexpr uint32_t kPadFrames = 210;

class PadPlayer : public RunObserver {
public:
    void OnFrame(const CGame& game, uint32_t frame, plat::Automation&) override {
        CaptureSnapshot(game, frame, {}, &records[frame]);
        if (frame == 180) markerPixel = WindowPixel(360, 35);
        if (m_tapped >= 0) window->Pad().Button(static_cast<SDL_GameControllerButton>(m_tapped), false);
        m_tapped = -1;
        for (const PadStep& step : kPadSteps) {
            if (step.frame == frame) Do(step);
        }
    }

    PadWindow* window = nullptr;  // while the run lasts
    std::map<uint32_t, GameSnapshot> records;
    uint32_t markerPixel = 0;
    int pausesWhileUnplugged = 0;

private:
    void Do(const PadStep& step) {
        switch (step.act) {
            case Act::Tap:
                window->Pad().Button(static_cast<SDL_GameControllerButton>(step.value), true);
                m_tapped = step.value;
                break;
            case Act::Stick:
                window->Pad().Stick(static_cast<int16_t>(step.value));
                break;
            case Act::Money:
                for (SDL_Scancode key : {SDL_SCANCODE_LCTRL, SDL_SCANCODE_S}) {
                    SDL_Event ev{};
                    ev.type = SDL_KEYDOWN;
                    ev.key.keysym.scancode = key;
                    SDL_PushEvent(&ev);
                }
                break;
            case Act::Unplug:
                window->Pad().Detach();
                break;
        }
    }

    static uint32_t WindowPixel(int x, int y) {
        SDL_Surface* s = SDL_GetWindowSurface(SDL_GetWindowFromID(1));
        if (!s) return 0;
        return static_cast<const uint32_t*>(s->pixels)[y * s->pitch / 4 + x] & 0xFFFFFF;
    }

    int m_tapped = -1;
};

}  // namespace

TEST(PadGame, AWholeGameWithOnlyAPadReplaysFromItsRecording) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    const TempDir dir;
    const std::string data = BuildDataDir().string();
    PadPlayer player;
    LaunchContext context;
    std::ostringstream out, err;
    context.out = &out;
    context.err = &err;
    context.observer = &player;
    context.windowed = [&](const Options& o, std::string* problem) -> std::unique_ptr<plat::Backend> {
        auto sdl = CreateSdlBackend(o, kGameShape, problem);
        if (!sdl) return nullptr;
        auto window = std::make_unique<PadWindow>(std::move(sdl), &player.pausesWhileUnplugged);
        player.window = window.get();
        return window;
    };
    const std::filesystem::path start = std::filesystem::current_path();
    const std::string frames = std::to_string(kPadFrames);
    const int status = RunPlinkwell(
        {"--windowed", "--scale", "1", "--mute", "--renderer", "software", "--no-settings", "--data", data,
         "--frames", frames, "--record", (dir / "pad.txt").string(), "--state", (dir / "live.json").string()},
        context);
    unsetenv("SDL_VIDEODRIVER");
    ASSERT_EQ(status, 0) << err.str();
    ASSERT_EQ(player.records.size(), kPadFrames);
    auto& r = player.records;
    EXPECT_EQ(r[4].m_bIntro, 1);
    EXPECT_EQ(r[7].m_bIntro, 0) << "Start leaves the title";
    EXPECT_EQ(r[30].m_paddle.x - r[20].m_paddle.x, 240) << "full tilt: 24 pixels a frame";
    EXPECT_EQ(r[140].m_balls[0].launched, 0);
    EXPECT_EQ(r[141].m_balls[0].launched, 1) << "A launches";
    EXPECT_EQ(r[179].m_nBalls, 1);
    EXPECT_EQ(r[180].m_nBalls, 2) << "the shoulders and X buy item 3, BRANCH BALL";
    EXPECT_EQ(player.markerPixel, 0xFFFFFFu) << "the cursor under item 3, in the window only";
    EXPECT_EQ(player.pausesWhileUnplugged, 1) << "unplugging pauses";

    std::filesystem::current_path(start);
    std::ostringstream out2, err2;
    LaunchContext headless;
    headless.out = &out2;
    headless.err = &err2;
    ASSERT_EQ(RunPlinkwell({"--headless", "--data", data, "--frames", frames, "--input",
                            (dir / "pad.txt").string(), "--state", (dir / "replay.json").string()},
                           headless),
              0)
        << err2.str();
    std::filesystem::current_path(start);
    // The same game but for the clock the frames ran by.
    Json live = ParseJson(ReadFileText(dir / "live.json"));
    Json replayed = ParseJson(ReadFileText(dir / "replay.json"));
    live.erase("m_dwLastFrame");
    replayed.erase("m_dwLastFrame");
    EXPECT_TRUE(live == replayed) << Json::diff(live, replayed).dump();
}
