#include "service/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace tavix {

QString numberText(double value)
{
    if (value == 0)
        value = 0; // no "-0"
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

namespace {

// `k` / 10^decimals in fixed notation, without trailing zeros. Composed right to left in a
// local buffer and copied out as one 32-byte block (the caller leaves room for it).
std::size_t writeScaled(char *out, long long k, int decimals)
{
    while (decimals > 0 && k % 10 == 0) {
        k /= 10;
        --decimals;
    }
    unsigned long long magnitude = static_cast<unsigned long long>(k);
    if (k < 0)
        magnitude = 0 - magnitude;
    char buffer[64];
    char *const end = buffer + 32;
    char *begin = end;
    static constexpr char Pairs[] = "00010203040506070809101112131415161718192021222324"
                                    "25262728293031323334353637383940414243444546474849"
                                    "50515253545556575859606162636465666768697071727374"
                                    "75767778798081828384858687888990919293949596979899";
    const auto putDigits = [&begin, &magnitude](int count) {
        for (; count >= 2; count -= 2) {
            begin -= 2;
            std::memcpy(begin, Pairs + 2 * (magnitude % 100), 2);
            magnitude /= 100;
        }
        if (count == 1) {
            *--begin = char('0' + magnitude % 10);
            magnitude /= 10;
        }
    };
    putDigits(decimals);
    if (decimals > 0)
        *--begin = '.';
    while (magnitude >= 100)
        putDigits(2);
    putDigits(magnitude >= 10 ? 2 : 1);
    if (k < 0)
        *--begin = '-';
    std::memcpy(out, begin, 32);
    return std::size_t(end - begin);
}

} // namespace

// Archive values carry a few decimals: when value is exactly the double nearest to k/10^d
// (d = 3, 6 or 9), the fixed text of k/10^d reads back as the same double and, with its
// trailing zeros dropped, is the shortest such text. Anything else takes the general
// shortest round-trip form.
std::size_t writePacketNumber(char *out, double value)
{
    if (value == 0) {
        *out = '0';
        return 1;
    }
    static constexpr double Scales[] = {1e3, 1e6, 1e9};
    static constexpr int Decimals[] = {3, 6, 9};
    for (int i = 0; i < 3; ++i) {
        const double scaled = value * Scales[i];
        if (!(std::fabs(scaled) < 4e15))
            break;
        // Rounded by hand: inline, and the check below catches any rounding slip.
        const long long k = static_cast<long long>(scaled + (scaled < 0 ? -0.5 : 0.5));
        if (double(k) / Scales[i] == value)
            return writeScaled(out, k, Decimals[i]);
    }
    const auto result = std::to_chars(out, out + 32, value, std::chars_format::general);
    return static_cast<std::size_t>(result.ptr - out);
}

static bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The common form, [-]digits[.digits] with at most 15 digits: the digits make an exact
// integer and 10^decimals is exact, so one division gives the correctly rounded double, as
// from_chars would. False when the text is of another form.
static bool parseShortDecimal(const char *begin, const char *end, double &value)
{
    static constexpr double Powers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const bool negative = begin != end && *begin == '-';
    const char *p = begin + (negative ? 1 : 0);
    std::uint64_t digits = 0;
    int count = 0;
    int decimals = -1;
    for (; p != end; ++p) {
        if (*p >= '0' && *p <= '9') {
            digits = digits * 10 + std::uint64_t(*p - '0');
            ++count;
            if (decimals >= 0)
                ++decimals;
        } else if (*p == '.' && decimals < 0) {
            decimals = 0;
        } else {
            return false;
        }
    }
    if (count == 0 || count > 15)
        return false;
    const double magnitude = double(digits) / Powers[decimals > 0 ? decimals : 0];
    value = negative ? -magnitude : magnitude;
    return true;
}

NumberParse parseNumber(const char *begin, const char *end, double &value)
{
    while (begin != end && isBlank(*begin))
        ++begin;
    while (end != begin && isBlank(end[-1]))
        --end;
    if (begin == end)
        return NumberParse::Empty;
    if (parseShortDecimal(begin, end, value))
        return NumberParse::Ok;
    if (*begin == '+' && end - begin > 1 && begin[1] != '-')
        ++begin;
    const auto result = std::from_chars(begin, end, value, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
        return NumberParse::Invalid;
    return NumberParse::Ok;
}

} // namespace tavix
