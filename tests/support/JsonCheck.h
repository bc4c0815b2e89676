#pragma once
// A strict check of JSON text (RFC 8259): one value, white space around it, strings of valid
// UTF-8 with valid escapes, numbers in JSON's own form. The tool's JSON is written by hand; this
// catches a missing comma or quote, a raw control character or a byte that is no UTF-8.

#include <cstddef>
#include <string>

namespace hz::test {

class JsonCheck {
public:
    explicit JsonCheck(const std::string& text) : s(text) {}

    // True when the whole text is one JSON value; otherwise `at` is where it went wrong.
    bool valid()
    {
        skip();
        if (!value())
            return false;
        skip();
        return i == s.size();
    }
    std::size_t at() const { return i; }

private:
    const std::string& s;
    std::size_t i = 0;
    int depth = 0;

    unsigned char peek() const { return i < s.size() ? static_cast<unsigned char>(s[i]) : 0; }
    void skip()
    {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r'))
            ++i;
    }
    bool literal(const char* word)
    {
        const std::string w(word);
        if (s.compare(i, w.size(), w) != 0)
            return false;
        i += w.size();
        return true;
    }
    bool value()
    {
        if (++depth > 200)
            return false;
        bool ok = false;
        switch (peek()) {
        case '{': ok = object(); break;
        case '[': ok = array(); break;
        case '"': ok = string(); break;
        case 't': ok = literal("true"); break;
        case 'f': ok = literal("false"); break;
        case 'n': ok = literal("null"); break;
        default: ok = number();
        }
        --depth;
        return ok;
    }
    bool object()
    {
        ++i;
        skip();
        if (peek() == '}')
            return ++i, true;
        for (;;) {
            skip();
            if (peek() != '"' || !string())
                return false;
            skip();
            if (peek() != ':')
                return false;
            ++i;
            skip();
            if (!value())
                return false;
            skip();
            if (peek() == '}')
                return ++i, true;
            if (peek() != ',')
                return false;
            ++i;
        }
    }
    bool array()
    {
        ++i;
        skip();
        if (peek() == ']')
            return ++i, true;
        for (;;) {
            skip();
            if (!value())
                return false;
            skip();
            if (peek() == ']')
                return ++i, true;
            if (peek() != ',')
                return false;
            ++i;
        }
    }
    static bool isHex(unsigned char c)
    {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    }
    bool string()
    {
        ++i;
        while (i < s.size()) {
            const unsigned char c = peek();
            if (c == '"')
                return ++i, true;
            if (c < 0x20)
                return false;
            if (c == '\\') {
                ++i;
                const unsigned char e = peek();
                if (e == 'u') {
                    for (int k = 1; k <= 4; ++k)
                        if (!isHex(i + k < s.size() ? static_cast<unsigned char>(s[i + k]) : 0))
                            return false;
                    i += 5;
                } else if (e == '"' || e == '\\' || e == '/' || e == 'b' || e == 'f' || e == 'n' || e == 'r' ||
                           e == 't') {
                    ++i;
                } else {
                    return false;
                }
                continue;
            }
            if (c < 0x80) {
                ++i;
                continue;
            }
            // UTF-8: the lead byte says how many continuation bytes follow.
            const std::size_t n = c >= 0xC2 && c <= 0xDF   ? 1
                                  : c >= 0xE0 && c <= 0xEF ? 2
                                  : c >= 0xF0 && c <= 0xF4 ? 3
                                                           : 0;
            if (n == 0)
                return false;
            for (std::size_t k = 1; k <= n; ++k)
                if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                    return false;
            i += n + 1;
        }
        return false;
    }
    bool digits()
    {
        const std::size_t from = i;
        while (peek() >= '0' && peek() <= '9')
            ++i;
        return i > from;
    }
    bool number()
    {
        if (peek() == '-')
            ++i;
        if (peek() == '0')
            ++i;
        else if (!digits())
            return false;
        if (peek() == '.') {
            ++i;
            if (!digits())
                return false;
        }
        if (peek() == 'e' || peek() == 'E') {
            ++i;
            if (peek() == '+' || peek() == '-')
                ++i;
            if (!digits())
                return false;
        }
        return true;
    }
};

// True when `text` is valid JSON; for EXPECT_TRUE with a message.
inline bool isJson(const std::string& text) { return JsonCheck(text).valid(); }

} // namespace hz::test
