#include "app/GameSnapshot.h"

#include <charconv>
#include <cstdio>

void CaptureSnapshot(const CGame& game, uint32_t frame, GameSnapshot* s) {
    s->frame = frame;
    s->m_bStageBanner = game.m_bStageBanner;
    s->m_bGameOver = game.m_bGameOver;
    s->m_nStageCount = game.m_nStageCount;
    s->m_nStage = game.m_nStage;
    s->m_nScore = game.m_nScore;
    s->m_nLives = game.m_nLives;
    s->m_nBalls = game.m_nBalls;
    s->m_bMessage = game.m_bMessage;
    s->m_strMessage = game.m_strMessage;
    s->m_bIntro = game.m_bIntro;
    s->m_bAutoPaddle = game.m_bAutoPaddle;
    s->m_bRocketMode = game.m_bRocketMode;
    s->m_bPierceMode = game.m_bPierceMode;
    s->m_bGlueMode = game.m_bGlueMode;
    s->m_bMurkPaddles = game.m_bMurkPaddles;
    s->m_bWidePaddle = game.m_bWidePaddle;
    s->m_nPaddleFrame = game.m_nPaddleFrame;
    s->m_nItemKeyDelay = game.m_nItemKeyDelay;
    s->m_bMiniMap = game.m_bMiniMap;
    s->m_dwLastFrame = game.m_dwLastFrame;
    s->m_dwFrameInterval = game.m_dwFrameInterval;
    s->s_nBannerOffset = game.s_nBannerOffset;
    for (int i = 0; i < kCells; ++i) s->cells[i] = game.m_cells[i].sprite;
    s->paddle = game.m_paddle;
    s->rocket = game.m_rocket;
    for (int i = 0; i < kMaxBalls; ++i) s->balls[i] = game.m_balls[i];
    s->particles = game.m_particles;
    s->rng = game.m_random.State();
    s->sounds.assign(plat::SoundLog().begin(), plat::SoundLog().end());
}

namespace {

class JsonWriter {
public:
    explicit JsonWriter(std::string* out) : m_out(*out) {}

    void Begin() {
        m_out += '{';
        m_first = true;
    }
    void End() {
        m_out += '}';
        m_first = false;
    }

    void Key(const char* name) {
        if (!m_first) m_out += ',';
        m_first = false;
        m_out += '"';
        m_out += name;
        m_out += "\":";
    }

    void Number(int64_t v) {
        char buf[24];
        const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
        (void)ec;
        m_out.append(buf, end);
    }

    void Field(const char* name, int64_t v) {
        Key(name);
        Number(v);
    }

    template <typename T>
    void Array(const char* name, const T* values, int count) {
        Key(name);
        m_out += '[';
        for (int i = 0; i < count; ++i) {
            if (i) m_out += ',';
            Number(values[i]);
        }
        m_out += ']';
    }

    void String(const char* name, const std::string& text) {
        Key(name);
        m_out += '"';
        for (unsigned char c : text) {
            if (c == '"' || c == '\\') {
                m_out += '\\';
                m_out += static_cast<char>(c);
            } else if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                m_out += buf;
            } else {
                m_out += static_cast<char>(c);
            }
        }
        m_out += '"';
    }

    // Opens a nested object or an array element object.
    void Object(const char* name) {
        Key(name);
        Begin();
    }
    void ArrayElementObject(bool firstElement) {
        if (!firstElement) m_out += ',';
        Begin();
    }
    void OpenArray(const char* name) {
        Key(name);
        m_out += '[';
    }
    void CloseArray() {
        m_out += ']';
        m_first = false;
    }
    void Raw(char c) { m_out += c; }

private:
    std::string& m_out;
    bool m_first = true;
};

void WriteObject(JsonWriter& w, const char* name, const GameObject& o, bool withVelocity) {
    w.Object(name);
    w.Field("x", o.x);
    w.Field("y", o.y);
    if (withVelocity) {
        w.Field("dx", o.dx);
        w.Field("dy", o.dy);
    }
    w.Field("sprite", o.sprite);
    w.Array("trailX", o.trailX, kTrail);
    w.Array("trailY", o.trailY, kTrail);
    w.End();
}

void WriteBalls(JsonWriter& w, const Ball* balls) {
    w.OpenArray("balls");
    for (int i = 0; i < kMaxBalls; ++i) {
        const Ball& b = balls[i];
        w.ArrayElementObject(i == 0);
        w.Field("x", b.x);
        w.Field("y", b.y);
        w.Field("dx", b.dx);
        w.Field("dy", b.dy);
        w.Field("inPlay", b.inPlay);
        w.Field("launched", b.launched);
        w.Field("glueOffset", b.glueOffset);
        w.Field("glueToggle", b.glueToggle);
        w.Array("trailX", b.trailX, kTrail);
        w.Array("trailY", b.trailY, kTrail);
        w.End();
    }
    w.CloseArray();
}

void WriteParticles(JsonWriter& w, const ParticleSpray& p) {
    w.Object("particles");
    w.Field("framesLeft", p.framesLeft);
    w.Field("sprite", p.sprite);
    w.Field("gravity", p.gravity);
    w.Array("x", p.x, kParticles);
    w.Array("y", p.y, kParticles);
    w.Array("dx", p.dx, kParticles);
    w.Array("dy", p.dy, kParticles);
    w.End();
}

void WriteSounds(JsonWriter& w, const std::vector<plat::PlayedSound>& sounds) {
    w.OpenArray("sounds");
    for (size_t i = 0; i < sounds.size(); ++i) {
        if (i) w.Raw(',');
        w.Raw('[');
        w.Number(sounds[i].frame);
        w.Raw(',');
        w.Number(sounds[i].effect);
        w.Raw(']');
    }
    w.CloseArray();
}

}  // namespace

void AppendJson(const GameSnapshot& s, std::string* out) {
    JsonWriter w(out);
    w.Begin();
    w.Field("frame", s.frame);
    w.Field("m_bStageBanner", s.m_bStageBanner);
    w.Field("m_bGameOver", s.m_bGameOver);
    w.Field("m_nStageCount", s.m_nStageCount);
    w.Field("m_nStage", s.m_nStage);
    w.Field("m_nScore", s.m_nScore);
    w.Field("m_nLives", s.m_nLives);
    w.Field("m_nBalls", s.m_nBalls);
    w.Field("m_bMessage", s.m_bMessage);
    w.String("m_strMessage", s.m_strMessage);
    w.Field("m_bIntro", s.m_bIntro);
    w.Field("m_bAutoPaddle", s.m_bAutoPaddle);
    w.Field("m_bRocketMode", s.m_bRocketMode);
    w.Field("m_bPierceMode", s.m_bPierceMode);
    w.Field("m_bGlueMode", s.m_bGlueMode);
    w.Field("m_bMurkPaddles", s.m_bMurkPaddles);
    w.Field("m_bWidePaddle", s.m_bWidePaddle);
    w.Field("m_nPaddleFrame", s.m_nPaddleFrame);
    w.Field("m_nItemKeyDelay", s.m_nItemKeyDelay);
    w.Field("m_bMiniMap", s.m_bMiniMap);
    w.Field("m_dwLastFrame", s.m_dwLastFrame);
    w.Field("m_dwFrameInterval", s.m_dwFrameInterval);
    w.Field("s_nBannerOffset", s.s_nBannerOffset);
    w.Array("cells", s.cells, kCells);
    WriteObject(w, "paddle", s.paddle, false);
    WriteObject(w, "rocket", s.rocket, true);
    WriteBalls(w, s.balls);
    WriteParticles(w, s.particles);
    w.Field("rng", s.rng);
    WriteSounds(w, s.sounds);
    w.End();
}
