#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace tavix {

// The small XML reader under the packet reader: start and end tags, attributes, comments and
// processing instructions, with the checks that keep a malformed packet from passing as a
// good one. Every failure throws tavix::Error with an Italian message.

QString packetTr(const char *text);
[[noreturn]] void failPacket(const QString &why);

namespace packetxml {

enum : std::uint8_t { Plain, DoubleQuote, SingleQuote, Ampersand, LessThan, Control };

inline constexpr std::array<std::uint8_t, 256> ValueClass = [] {
    std::array<std::uint8_t, 256> table{};
    for (int c = 0; c < 0x20; ++c)
        table[c] = Control;
    table['"'] = DoubleQuote;
    table['\''] = SingleQuote;
    table['&'] = Ampersand;
    table['<'] = LessThan;
    return table;
}();

inline constexpr std::array<bool, 256> EndsName = [] {
    std::array<bool, 256> table{};
    for (unsigned char c : std::string_view(" \t\r\n=/>\"'<&"))
        table[c] = true;
    return table;
}();

// An attribute value as it stands in the packet; `plain` when it holds no reference and no
// character that attribute-value normalisation changes.
struct RawValue
{
    const char *begin;
    const char *end;
    bool plain;
};

inline bool isSpaceChar(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Undoes references and normalises blanks as an XML reader does. The result is never longer
// than the raw value, so it may be written over a buffer of the raw length.
std::size_t decodeValue(const RawValue &value, char *out);

class Scanner
{
public:
    Scanner(const char *begin, const char *end) : p(begin), end(end) {}

    const char *p;
    const char *const end;

    [[noreturn]] static void truncated() { failPacket(packetTr("il testo è incompleto")); }

    bool startsWith(std::string_view s) const
    {
        return std::size_t(end - p) >= s.size() && std::memcmp(p, s.data(), s.size()) == 0;
    }

    void skipSpace()
    {
        while (p != end && isSpaceChar(*p))
            ++p;
    }

    void skipPast(std::string_view terminator)
    {
        const std::size_t at = std::string_view(p, end - p).find(terminator);
        if (at == std::string_view::npos)
            truncated();
        p += at + terminator.size();
    }

    // Blanks, comments and processing instructions.
    void skipMisc()
    {
        for (;;) {
            skipSpace();
            if (startsWith("<!--")) {
                p += 4;
                skipPast("-->");
            } else if (startsWith("<?")) {
                p += 2;
                skipPast("?>");
            } else {
                return;
            }
        }
    }

    // True when at the start tag of `name`; moves past the name then.
    bool enterElement(std::string_view name)
    {
        const std::size_t n = name.size();
        if (std::size_t(end - p) < n + 2 || *p != '<' || std::memcmp(p + 1, name.data(), n) != 0)
            return false;
        const char next = p[n + 1];
        if (!isSpaceChar(next) && next != '/' && next != '>')
            return false;
        p += n + 1;
        return true;
    }

    void expectEndTag(std::string_view name)
    {
        if (p == end)
            truncated();
        if (!startsWith("</") || std::size_t(end - p) < name.size() + 2 ||
            std::memcmp(p + 2, name.data(), name.size()) != 0)
            failPacket(packetTr("manca la chiusura dell'elemento %1").arg(QLatin1StringView(name)));
        p += name.size() + 2;
        skipSpace();
        expect('>');
    }

    void expect(char c)
    {
        if (p == end)
            truncated();
        if (*p != c)
            failPacket(packetTr("tag malformato"));
        ++p;
    }

    [[gnu::always_inline]] RawValue scanValue()
    {
        if (p == end)
            truncated();
        const char quote = *p;
        if (quote != '"' && quote != '\'')
            failPacket(packetTr("valore di attributo senza virgolette"));
        const std::uint8_t quoteClass = quote == '"' ? DoubleQuote : SingleQuote;
        const char *begin = ++p;
        bool plain = true;
#ifdef __SSE2__
        const __m128i quotes = _mm_set1_epi8(quote);
        const __m128i ampersands = _mm_set1_epi8('&');
        const __m128i lessThans = _mm_set1_epi8('<');
        const __m128i lastControl = _mm_set1_epi8(0x1F);
        while (end - p >= 16) {
            const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
            const __m128i control = _mm_cmpeq_epi8(_mm_max_epu8(x, lastControl), lastControl);
            const __m128i lessThan = _mm_cmpeq_epi8(x, lessThans);
            const unsigned quoteMask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(x, quotes)));
            const unsigned specialMask = unsigned(_mm_movemask_epi8(
                _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, ampersands), lessThan), control)));
            const unsigned mask = quoteMask | specialMask;
            if (mask == 0) {
                p += 16;
                continue;
            }
            const unsigned first = mask & (0u - mask);
            const char *at = p + __builtin_ctz(mask);
            if (first & quoteMask) {
                p = at + 1;
                return {begin, at, plain};
            }
            if (first & unsigned(_mm_movemask_epi8(lessThan)))
                failPacket(packetTr("carattere '<' in un valore"));
            plain = false;
            p = at + 1;
        }
#endif
        for (; p != end; ++p) {
            const std::uint8_t c = ValueClass[static_cast<unsigned char>(*p)];
            if (c == Plain)
                continue;
            if (c == quoteClass)
                return {begin, p++, plain};
            if (c == LessThan)
                failPacket(packetTr("carattere '<' in un valore"));
            if (c == Ampersand || c == Control)
                plain = false;
        }
        truncated();
    }

    // Reads the attributes of a start tag up to its end. For each attribute, quickName() may
    // recognise `name=` at p (returning a token >= 0 and moving past it) or return -1; then
    // on(token, nameBegin, nameEnd, value) is called (the name is empty with a token).
    // Returns true for an empty-element tag ("/>").
    template <typename QuickName, typename OnAttribute>
    bool scanAttributes(QuickName &&quickName, OnAttribute &&on)
    {
        for (;;) {
            const char *before = p;
            skipSpace();
            if (p == end)
                truncated();
            if (*p == '/') {
                ++p;
                expect('>');
                return true;
            }
            if (*p == '>') {
                ++p;
                return false;
            }
            if (p == before)
                failPacket(packetTr("tag malformato"));
            const int token = quickName();
            const char *nameBegin = p;
            if (token < 0) {
                while (p != end && !EndsName[static_cast<unsigned char>(*p)])
                    ++p;
                if (p == end)
                    truncated();
                if (p == nameBegin)
                    failPacket(packetTr("tag malformato"));
            }
            const char *nameEnd = p;
            if (token < 0) {
                skipSpace();
                expect('=');
            }
            skipSpace();
            on(token, nameBegin, nameEnd, scanValue());
        }
    }

    bool skipAttributes()
    {
        return scanAttributes([] { return -1; },
                              [](int, const char *, const char *, const RawValue &) {});
    }
};

} // namespace packetxml

} // namespace tavix
