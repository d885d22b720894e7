// The JSON of the game's state dumps, read back in tests.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

using Json = nlohmann::ordered_json;  // members in document order

// Parses one complete document; throws on malformed input.
inline Json ParseJson(const std::string& text) {
    return Json::parse(text);
}

// An object's keys in document order.
inline std::vector<std::string> Keys(const Json& object) {
    std::vector<std::string> keys;
    for (const auto& member : object.items()) keys.push_back(member.key());
    return keys;
}
