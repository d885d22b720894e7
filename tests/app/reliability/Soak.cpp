#include "app/reliability/Soak.h"

#include <algorithm>
#include <array>
#include <random>
#include <sstream>
#include <string_view>
#include <vector>

#include "app/GameSnapshot.h"
#include "game/RecordVisit.h"
#include "input/DIK.h"
#include "platform/automation/Automation.h"
#include "platform/automation/InputScript.h"
#include "support/Files.h"

namespace reliability {
namespace {

using plat::InputEvent;

constexpr uint32_t kSegmentFrames = 600;
constexpr int32_t kPaddleLimit = 797;

// How one stretch of play is driven: a calm player, a frantic one, a shopper, an idle one.
struct Style {
    double motionChance;
    int32_t motionSize;
    double buttonChance;
    double keyChance;
    uint32_t longestHold;
};

Style PickStyle(std::mt19937& rng) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    static constexpr std::array<int32_t, 5> kSizes = {0, 3, 25, 120, 1500};
    Style s;
    s.motionChance = unit(rng);
    s.motionSize = kSizes[rng() % kSizes.size()];
    s.buttonChance = unit(rng) * 0.2;
    s.keyChance = unit(rng) * unit(rng) * 0.3;
    s.longestHold = 1 + rng() % 60;
    return s;
}

// What a pressed key may be, with how often it is chosen: the item keys and the harmless commands
// often, a new game (Left Ctrl + R) rarely so that games last.
struct Press {
    uint8_t key;
    bool withCtrl;
    int weight;
};

constexpr std::array<Press, 23> kPresses = {{
    {DIK_SPACE, false, 12},   {DIK_1, false, 6}, {DIK_2, false, 6},     {DIK_3, false, 6},
    {DIK_4, false, 6},        {DIK_5, false, 6}, {DIK_6, false, 4},     {DIK_7, false, 6},
    {DIK_8, false, 4},        {DIK_9, false, 6}, {DIK_0, false, 3},     {DIK_T, false, 5},
    {DIK_M, true, 4},         {DIK_P, true, 4},  {DIK_B, true, 5},      {DIK_S, true, 12},
    {DIK_R, true, 1},         {DIK_I, true, 3},  {DIK_PRIOR, true, 3},  {DIK_A, true, 4},
    {DIK_LCONTROL, false, 2}, {DIK_S, false, 2}, {DIK_PRIOR, false, 2},
}};

class ScriptWriter {
public:
    explicit ScriptWriter(uint32_t seed) : m_rng(seed) {}

    std::string Write(uint32_t frames) {
        m_text = std::string(plat::kInputScriptHeader) + "\n";
        Style style = PickStyle(m_rng);
        for (uint32_t f = 1; f <= frames; ++f) {
            if (f % kSegmentFrames == 0) style = PickStyle(m_rng);
            ReleaseDue(f);
            Mouse(f, style);
            Button(f, style);
            if (Chance(style.keyChance)) Key(f, style);
        }
        return m_text;
    }

private:
    struct Hold {
        uint8_t key;
        uint32_t until;
    };

    bool Chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(m_rng) < p; }

    uint32_t Duration(const Style& style) { return 1 + m_rng() % style.longestHold; }

    void Emit(const InputEvent& e) { m_text += plat::FormatInputEvent(e) + "\n"; }

    void SetKey(uint32_t frame, uint8_t key, bool down) {
        Emit({.frame = frame, .kind = InputEvent::Kind::Key, .code = key, .down = down});
    }

    void ReleaseDue(uint32_t frame) {
        for (const Hold& h : m_holds) {
            if (h.until == frame) SetKey(frame, h.key, false);
        }
        std::erase_if(m_holds, [frame](const Hold& h) { return h.until == frame; });
    }

    bool IsHeld(uint8_t key) const {
        return std::any_of(m_holds.begin(), m_holds.end(), [key](const Hold& h) { return h.key == key; });
    }

    void Mouse(uint32_t frame, const Style& style) {
        int32_t dx = 0;
        if (Chance(0.0005)) {
            dx = m_rng() % 2 ? INT32_MAX : INT32_MIN;  // a device gone mad: the paddle must still stop
        } else if (style.motionSize > 0 && Chance(style.motionChance)) {
            dx = std::uniform_int_distribution<int32_t>(-style.motionSize, style.motionSize)(m_rng);
        }
        if (dx != 0) Emit({.frame = frame, .kind = InputEvent::Kind::Mouse, .dx = dx});
    }

    void Button(uint32_t frame, const Style& style) {
        if (!Chance(style.buttonChance)) return;
        m_button = !m_button;
        Emit({.frame = frame, .kind = InputEvent::Kind::Button, .down = m_button});
    }

    void Key(uint32_t frame, const Style& style) {
        int total = 0;
        for (const Press& p : kPresses) total += p.weight;
        int pick = static_cast<int>(m_rng() % static_cast<uint32_t>(total));
        const Press* press = kPresses.data();
        while (pick >= press->weight) pick -= (press++)->weight;
        const uint32_t until = frame + Duration(style);
        for (uint8_t key : {press->withCtrl ? uint8_t{DIK_LCONTROL} : uint8_t{0}, press->key}) {
            if (key == 0 || IsHeld(key)) continue;
            SetKey(frame, key, true);
            m_holds.push_back({key, until});
        }
    }

    std::mt19937 m_rng;
    std::string m_text;
    std::vector<Hold> m_holds;
    bool m_button = false;
};

bool IsFlag(int32_t v) {
    return v == 0 || v == 1;
}

// Every flag of the record (an m_b field) holds 0 or 1; broken names the first that does not.
struct FlagCheck {
    std::string broken;

    void Field(const char* name, int64_t value) {
        if (broken.empty() && std::string_view(name).starts_with("m_b") &&
            !IsFlag(static_cast<int32_t>(value)))
            broken = name;
    }
    template <typename... T>
    void Text(const T&...) {}
    template <typename... T>
    void Cells(const T&...) {}
    template <typename... T>
    void Object(const T&...) {}
    template <typename... T>
    void Balls(const T&...) {}
    template <typename... T>
    void Spray(const T&...) {}
};

#define REQUIRE(rule)              \
    do {                           \
        if (!(rule)) return #rule; \
    } while (false)

std::string CheckBalls(const CGame& game) {
    int32_t inPlay = 0;
    for (const Ball& b : game.m_balls) {
        REQUIRE(IsFlag(b.inPlay) && IsFlag(b.launched) && IsFlag(b.glueToggle));
        inPlay += b.inPlay;
    }
    REQUIRE(game.m_nBalls == inPlay);  // a count of the 64 slots, so also within 0 to 64
    return "";
}

std::string CheckField(const CGame& game) {
    for (int k = 0; k < kCells; ++k) {
        const GameObject& cell = game.m_cells[k];
        REQUIRE(cell.sprite == -1 || (cell.sprite >= 18 && cell.sprite <= 24));
        REQUIRE(cell.x == CellLeft(k % kColumns) && cell.y == CellTop(k / kColumns));
    }
    REQUIRE(game.m_nStage >= 1 && game.m_nStage <= std::max(1, game.m_nStageCount));
    return "";
}

// The paddle step leaves this frame's place in trail point 0, between 0 and 797 - W; only the wide
// paddle's purchase, later in the same frame, moves the paddle 30 to the left of it.
std::string CheckPaddle(const CGame& game, bool paddleMoved) {
    const GameObject& p = game.m_paddle;
    REQUIRE(p.y == 560);
    REQUIRE(game.m_nPaddleFrame == 0 || game.m_nPaddleFrame == 78);
    REQUIRE((p.sprite >= 0 && p.sprite <= 9) || (p.sprite >= 78 && p.sprite <= 87));
    if (!paddleMoved) return "";
    const int32_t w = game.m_display.GetSlotWidth(game.m_nPaddleFrame);
    REQUIRE(p.trailX[0] >= 0 && p.trailX[0] <= kPaddleLimit - w);
    REQUIRE(p.x == p.trailX[0] || (game.m_bWidePaddle == 1 && p.x == p.trailX[0] - 30));
    return "";
}

std::string CheckEffects(const CGame& game) {
    const ParticleSpray& s = game.m_particles;
    REQUIRE(s.framesLeft >= 0 && s.framesLeft <= 20);
    REQUIRE(s.sprite == 0 || (s.sprite >= 72 && s.sprite <= 76));  // 0: no spray started yet
    const GameObject& r = game.m_rocket;
    REQUIRE(r.sprite == -1 || r.sprite == 64);
    REQUIRE(r.sprite == -1 || (game.m_bRocketMode == 1 && r.dx == 0 && r.dy == -5));
    return "";
}

std::string CheckCounters(const CGame& game) {
    REQUIRE(game.m_nScore >= 0);
    REQUIRE(game.m_nLives >= 0);
    REQUIRE(game.m_nLives > 0 || game.m_bGameOver == 1);
    REQUIRE(game.m_nItemKeyDelay >= -1 && game.m_nItemKeyDelay <= 20);
    REQUIRE(game.s_nBannerOffset >= -355 && game.s_nBannerOffset <= -1 &&
            (game.s_nBannerOffset + 355) % 3 == 0);
    FlagCheck flags;
    VisitRecord(flags, game);
    if (!flags.broken.empty()) return flags.broken + " is not 0 or 1";
    return "";
}

#undef REQUIRE

}  // namespace

std::string MakeSoakScript(uint32_t seed, uint32_t frames) {
    return ScriptWriter(seed).Write(frames);
}

std::string CheckRecord(const CGame& game, bool paddleMoved) {
    for (const std::string& broken : {CheckBalls(game), CheckField(game), CheckPaddle(game, paddleMoved),
                                      CheckEffects(game), CheckCounters(game)}) {
        if (!broken.empty()) return broken;
    }
    return "";
}

void SoakObserver::OnFrame(const CGame& game, uint32_t frame, plat::Automation& run) {
    m_report.frames = frame;
    if (m_report.failedFrame == 0) {
        const bool paddleMoved = !m_intro && !m_gameOver;
        if (std::string broken = CheckRecord(game, paddleMoved); !broken.empty()) {
            GameSnapshot snapshot;
            CaptureSnapshot(game, frame, run.Sounds(), &snapshot);
            m_report.failedFrame = frame;
            m_report.failure = broken + "\n";
            AppendJson(snapshot, &m_report.failure);
            run.PostQuit();
        }
    }
    Tally(game);
}

void SoakObserver::Tally(const CGame& game) {
    SoakReport& r = m_report;
    if (game.m_bGameOver == 1 && !m_gameOver) ++r.gamesOver;
    if (game.m_bStageBanner == 1 && m_banner == 0) ++r.banners;
    if (game.m_nBalls == kMaxBalls) ++r.framesWith64Balls;
    if (game.m_rocket.sprite == 64 && m_rocket != 64) ++r.rocketsLaunched;
    const int32_t w = game.m_display.GetSlotWidth(game.m_nPaddleFrame);
    if (!m_intro && (game.m_paddle.x == 0 || game.m_paddle.x == kPaddleLimit - w)) ++r.framesPaddleAtAnEdge;
    r.mostLives = std::max(r.mostLives, game.m_nLives);
    r.highestStage = std::max(r.highestStage, game.m_nStage);
    r.highestScore = std::max(r.highestScore, game.m_nScore);
    m_intro = game.m_bIntro != 0;
    m_gameOver = game.m_bGameOver == 1;
    m_banner = game.m_bStageBanner;
    m_rocket = game.m_rocket.sprite;
}

SoakReport RunSoak(uint32_t seed, uint32_t frames, const std::filesystem::path& dataDir) {
    TempDir scratch;
    const auto script = scratch.Write("soak.txt", MakeSoakScript(seed, frames));
    SoakObserver observer;
    std::ostringstream out, err;
    LaunchContext context;
    context.out = &out;
    context.err = &err;
    context.observer = &observer;
    const std::filesystem::path startDir = std::filesystem::current_path();
    const int exitCode = RunPlinkwell({"--headless", "--frames", std::to_string(frames), "--data",
                                       dataDir.string(), "--input", script.string()},
                                      context);
    std::filesystem::current_path(startDir);
    SoakReport report = observer.Report();
    report.exitCode = exitCode;
    if (exitCode != 0) report.failure += err.str();
    return report;
}

}  // namespace reliability
