#include "app/GameSnapshot.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::ordered_json;  // keeps the keys in the order they are written

// The snapshot's own fields around the record's: the frame first, the generator and the sounds last.
template <typename Visitor, typename... Snapshots>
void VisitSnapshot(Visitor& v, Snapshots&... s) {
    v.Field("frame", s.frame...);
    VisitRecord(v, s...);
    v.Field("rng", s.rng...);
    v.Sounds("sounds", s.sounds...);
}

template <typename T, size_t N>
Json Array(const T (&values)[N]) {
    Json array = Json::array();
    for (const T& v : values) array.push_back(v);
    return array;
}

// Builds the JSON object of a snapshot, key by key.
struct Writer {
    Json& json;

    template <typename T>
    void Field(const char* name, const T& value) {
        json[name] = value;
    }
    void Text(const char* name, const std::string& text) { json[name] = text; }
    void Cells(const char* name, const int8_t (&cells)[kCells]) { json[name] = Array(cells); }
    void Object(const char* name, bool withVelocity, const GameObject& o) {
        Json& j = json[name];
        j["x"] = o.x;
        j["y"] = o.y;
        if (withVelocity) {
            j["dx"] = o.dx;
            j["dy"] = o.dy;
        }
        j["sprite"] = o.sprite;
        j["trailX"] = Array(o.trailX);
        j["trailY"] = Array(o.trailY);
    }
    void Balls(const char* name, const Ball (&balls)[kMaxBalls]) {
        Json& array = json[name] = Json::array();
        for (const Ball& b : balls) {
            Json j;
            j["x"] = b.x;
            j["y"] = b.y;
            j["dx"] = b.dx;
            j["dy"] = b.dy;
            j["inPlay"] = b.inPlay;
            j["launched"] = b.launched;
            j["glueOffset"] = b.glueOffset;
            j["glueToggle"] = b.glueToggle;
            j["trailX"] = Array(b.trailX);
            j["trailY"] = Array(b.trailY);
            array.push_back(std::move(j));
        }
    }
    void Spray(const char* name, const ParticleSpray& p) {
        Json& j = json[name];
        j["framesLeft"] = p.framesLeft;
        j["sprite"] = p.sprite;
        j["gravity"] = p.gravity;
        j["x"] = Array(p.x);
        j["y"] = Array(p.y);
        j["dx"] = Array(p.dx);
        j["dy"] = Array(p.dy);
    }
    void Sounds(const char* name, const std::vector<plat::PlayedSound>& sounds) {
        Json& array = json[name] = Json::array();
        for (const plat::PlayedSound& s : sounds) array.push_back({s.frame, s.effect});
    }
};

Json ToJson(const GameSnapshot& s) {
    Json json = Json::object();
    Writer writer{json};
    VisitSnapshot(writer, s);
    return json;
}

}  // namespace

void CaptureSnapshot(const CGame& game, uint32_t frame, std::span<const plat::PlayedSound> sounds,
                     GameSnapshot* s) {
    s->frame = frame;
    CopyRecord(game, *s);
    s->rng = game.m_random.State();
    s->sounds.assign(sounds.begin(), sounds.end());
}

void AppendJson(const GameSnapshot& s, std::string* out) {
    // The game's texts are plain ASCII; anything else is passed on, never thrown over.
    *out += ToJson(s).dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::vector<std::string> StateKeys() {
    const Json json = ToJson(GameSnapshot{});
    std::vector<std::string> keys;
    for (const auto& member : json.items()) keys.push_back(member.key());
    return keys;
}
