// A small strict JSON reader for checking the game's state dumps in tests.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct JsonValue {
    enum class Type { Null, Bool, Number, String, Array, Object };
    Type type = Type::Null;
    bool boolean = false;
    int64_t number = 0;  // the game writes integers only
    std::string text;
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;  // in document order

    const JsonValue& operator[](const std::string& key) const;  // throws when missing
    const JsonValue& operator[](size_t index) const { return items.at(index); }
    bool Has(const std::string& key) const;
};

// Parses one complete document; throws std::runtime_error with the offset on malformed input.
JsonValue ParseJson(const std::string& text);
