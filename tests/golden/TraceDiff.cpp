// tracediff: compares a game's trace with the golden one and, where they part, names the first frame
// and the first field in it that differ, so a broken replay says what changed rather than only that
// something did.
//   tracediff <expected.jsonl> <actual.jsonl> <name>
// Exits 0 when every line is the same, 1 with one line on standard error at the first difference,
// 2 on a usage or file problem.
#include <algorithm>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace {

using Json = nlohmann::ordered_json;  // fields in the order the game writes them: "first" means first written

constexpr int kExitDiffer = 1;
constexpr int kExitUsage = 2;

struct Difference {
    std::string path, expected, actual;
};

std::string Show(const Json* value) {
    return value ? value->dump() : "nothing";
}

std::string Child(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
}

std::optional<Difference> FirstDifference(const Json& expected, const Json& actual, const std::string& path);

// Present on one side only, or present on both and differing.
std::optional<Difference> Compare(const Json* expected, const Json* actual, const std::string& path) {
    if (expected && actual) return FirstDifference(*expected, *actual, path);
    return Difference{path, Show(expected), Show(actual)};
}

std::optional<Difference> FirstInArray(const Json& expected, const Json& actual, const std::string& path) {
    for (size_t i = 0; i < std::max(expected.size(), actual.size()); ++i) {
        const Json* want = i < expected.size() ? &expected[i] : nullptr;
        const Json* got = i < actual.size() ? &actual[i] : nullptr;
        if (auto d = Compare(want, got, path + "[" + std::to_string(i) + "]")) return d;
    }
    return std::nullopt;
}

std::optional<Difference> FirstInObject(const Json& expected, const Json& actual, const std::string& path) {
    for (const auto& [key, want] : expected.items()) {
        const auto got = actual.find(key);
        if (auto d = Compare(&want, got == actual.end() ? nullptr : &*got, Child(path, key))) return d;
    }
    for (const auto& [key, got] : actual.items())
        if (!expected.contains(key)) return Compare(nullptr, &got, Child(path, key));
    return std::nullopt;
}

// The first field, in the order written, whose values differ (a change of type counts).
std::optional<Difference> FirstDifference(const Json& expected, const Json& actual, const std::string& path) {
    if (expected.type() != actual.type()) return Difference{path, expected.dump(), actual.dump()};
    if (expected.is_array()) return FirstInArray(expected, actual, path);
    if (expected.is_object()) return FirstInObject(expected, actual, path);
    if (expected != actual) return Difference{path, expected.dump(), actual.dump()};
    return std::nullopt;
}

std::string FrameOf(const Json& record, long line) {
    const auto frame = record.find("frame");
    return "frame " + (frame == record.end() ? "?" : frame->dump()) + " (line " + std::to_string(line) + ")";
}

// Two different lines of the same number: which field, or why no field can be named.
std::string ExplainLine(long line, const std::string& expected, const std::string& actual) {
    const Json want = Json::parse(expected, nullptr, false), got = Json::parse(actual, nullptr, false);
    if (want.is_discarded() || got.is_discarded()) return "line " + std::to_string(line) + " is not JSON";
    const auto d = FirstDifference(want, got, "");
    if (!d) return FrameOf(want, line) + ": the same values, written differently";
    return FrameOf(want, line) + ": " + (d->path.empty() ? "the record" : d->path) + " expected " +
           d->expected + ", got " + d->actual;
}

int Differ(const std::string& name, const std::string& text) {
    std::cerr << name << ": " << text << '\n';
    return kExitDiffer;
}

int CompareTraces(std::istream& expected, std::istream& actual, const std::string& name) {
    std::string want, got;
    for (long line = 1;; ++line) {
        const bool hasWant = static_cast<bool>(std::getline(expected, want));
        const bool hasGot = static_cast<bool>(std::getline(actual, got));
        if (!hasWant && !hasGot) return 0;
        const std::string lines = std::to_string(line - 1) + " lines";
        if (!hasGot)
            return Differ(name, "this build's trace ends after " + lines + "; the golden one goes on");
        if (!hasWant) return Differ(name, "the golden trace ends after " + lines + "; this build's goes on");
        if (want != got) return Differ(name, ExplainLine(line, want, got));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: tracediff <expected.jsonl> <actual.jsonl> <name>\n";
        return kExitUsage;
    }
    std::ifstream expected(argv[1]), actual(argv[2]);
    if (!expected || !actual) {
        std::cerr << "tracediff: cannot read " << (expected ? argv[2] : argv[1]) << '\n';
        return kExitUsage;
    }
    return CompareTraces(expected, actual, argv[3]);
}
