#include "support/MiniJson.h"

#include <stdexcept>

namespace {

class Reader {
public:
    explicit Reader(const std::string& text) : m_text(text) {}

    JsonValue Document() {
        JsonValue v = Value();
        if (m_pos != m_text.size()) Fail("trailing characters");
        return v;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(m_pos));
    }
    char Peek() const { return m_pos < m_text.size() ? m_text[m_pos] : '\0'; }
    void Expect(char c) {
        if (Peek() != c) Fail(std::string("expected '") + c + "'");
        ++m_pos;
    }
    bool Literal(const char* word) {
        const std::string w(word);
        if (m_text.compare(m_pos, w.size(), w) != 0) return false;
        m_pos += w.size();
        return true;
    }

    JsonValue Value() {
        JsonValue v;
        const char c = Peek();
        if (c == '{') return Object();
        if (c == '[') return Array();
        if (c == '"') {
            v.type = JsonValue::Type::String;
            v.text = String();
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            v.type = JsonValue::Type::Number;
            v.number = Number();
        } else if (Literal("true")) {
            v.type = JsonValue::Type::Bool;
            v.boolean = true;
        } else if (Literal("false")) {
            v.type = JsonValue::Type::Bool;
        } else if (!Literal("null")) {
            Fail("unexpected character");
        }
        return v;
    }

    int64_t Number() {
        const bool negative = Peek() == '-';
        if (negative) ++m_pos;
        if (Peek() < '0' || Peek() > '9') Fail("digit expected");
        if (Peek() == '0' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] >= '0' &&
            m_text[m_pos + 1] <= '9') {
            Fail("leading zero");
        }
        int64_t v = 0;
        while (Peek() >= '0' && Peek() <= '9') {
            if (v > (INT64_MAX - 9) / 10) Fail("number too large");
            v = v * 10 + (m_text[m_pos++] - '0');
        }
        if (Peek() == '.' || Peek() == 'e' || Peek() == 'E') Fail("only integers are expected");
        return negative ? -v : v;
    }

    std::string String() {
        Expect('"');
        std::string out;
        for (;;) {
            if (m_pos >= m_text.size()) Fail("unterminated string");
            const char c = m_text[m_pos++];
            if (c == '"') return out;
            if (static_cast<unsigned char>(c) < 0x20) Fail("control character in string");
            if (c != '\\') {
                out += c;
                continue;
            }
            const char e = Peek();
            ++m_pos;
            switch (e) {
                case '"':
                case '\\':
                case '/':
                    out += e;
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'u': {
                    if (m_pos + 4 > m_text.size()) Fail("short \\u escape");
                    const unsigned code = std::stoul(m_text.substr(m_pos, 4), nullptr, 16);
                    m_pos += 4;
                    if (code >= 0x80) Fail("only ASCII \\u escapes are expected");
                    out += static_cast<char>(code);
                    break;
                }
                default:
                    Fail("bad escape");
            }
        }
    }

    JsonValue Array() {
        JsonValue v;
        v.type = JsonValue::Type::Array;
        Expect('[');
        if (Peek() == ']') {
            ++m_pos;
            return v;
        }
        for (;;) {
            v.items.push_back(Value());
            if (Peek() == ']') break;
            Expect(',');
        }
        ++m_pos;
        return v;
    }

    JsonValue Object() {
        JsonValue v;
        v.type = JsonValue::Type::Object;
        Expect('{');
        if (Peek() == '}') {
            ++m_pos;
            return v;
        }
        for (;;) {
            std::string key = String();
            if (v.Has(key)) Fail("duplicate key " + key);
            Expect(':');
            v.members.emplace_back(std::move(key), Value());
            if (Peek() == '}') break;
            Expect(',');
        }
        ++m_pos;
        return v;
    }

    const std::string& m_text;
    size_t m_pos = 0;
};

}  // namespace

const JsonValue& JsonValue::operator[](const std::string& key) const {
    for (const auto& [name, value] : members) {
        if (name == key) return value;
    }
    throw std::runtime_error("JSON: no key " + key);
}

bool JsonValue::Has(const std::string& key) const {
    for (const auto& member : members) {
        if (member.first == key) return true;
    }
    return false;
}

JsonValue ParseJson(const std::string& text) {
    return Reader(text).Document();
}
