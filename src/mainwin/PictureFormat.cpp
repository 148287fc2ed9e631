#include "mainwin/PictureFormat.h"

#include "service/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace tavix {

namespace {

struct Picture
{
    int minInteger = 0;  // digits from the first "0" before the point
    int minDecimals = 0; // decimals up to the last "0" after the point
    int maxDecimals = 0; // every digit character after the point
};

Picture parsePicture(const QString &picture)
{
    Picture p;
    const qsizetype point = picture.indexOf(QLatin1Char('.'));
    const QString integer = point < 0 ? picture : picture.left(point);
    const QString decimals = point < 0 ? QString() : picture.mid(point + 1);
    bool mandatory = false;
    for (QChar c : integer) {
        mandatory = mandatory || c == QLatin1Char('0');
        if (mandatory && (c == QLatin1Char('0') || c == QLatin1Char('#')))
            ++p.minInteger;
    }
    for (QChar c : decimals) {
        if (c == QLatin1Char('0') || c == QLatin1Char('#'))
            ++p.maxDecimals;
        if (c == QLatin1Char('0'))
            p.minDecimals = p.maxDecimals;
    }
    return p;
}

// The magnitude of a finite value as significant digits and the count of them that precede
// the decimal point (may be zero or negative): 0.0125 -> {"125", -1}.
struct Decimal
{
    std::string digits;
    int pointAt = 0;
};

Decimal shortestDecimal(double magnitude)
{
    char buffer[40];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific).ptr;
    const std::string text(buffer, end); // "d.ddde+XX"
    const std::size_t e = text.find('e');
    Decimal d;
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.')
            d.digits += text[i];
    d.pointAt = std::atoi(text.c_str() + e + 1) + 1;
    return d;
}

// Keeps `decimals` places, rounding half away from zero (the digits are a magnitude).
void roundTo(Decimal &d, int decimals)
{
    const int keep = d.pointAt + decimals;
    if (keep >= int(d.digits.size()))
        return;
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    const bool up = d.digits[std::size_t(keep)] >= '5';
    d.digits.resize(std::size_t(keep));
    if (!up)
        return;
    int i = keep - 1;
    for (; i >= 0 && d.digits[std::size_t(i)] == '9'; --i)
        d.digits[std::size_t(i)] = '0';
    if (i >= 0) {
        ++d.digits[std::size_t(i)];
    } else {
        d.digits.insert(d.digits.begin(), '1');
        ++d.pointAt;
    }
}

char digitAt(const Decimal &d, int place) // place 0 is the first digit before the point
{
    const int i = d.pointAt - 1 - place;
    return i >= 0 && i < int(d.digits.size()) ? d.digits[std::size_t(i)] : '0';
}

} // namespace

QString FormatPicture(double value, const QString &picture)
{
    if (!std::isfinite(value))
        return numberText(value);
    const Picture p = parsePicture(picture);
    Decimal d = value == 0 ? Decimal{} : shortestDecimal(std::fabs(value));
    roundTo(d, p.maxDecimals);

    std::string out;
    const int integerDigits = std::max(d.pointAt, p.minInteger);
    for (int place = integerDigits - 1; place >= 0; --place)
        out += digitAt(d, place);
    std::string decimals;
    for (int place = 1; place <= p.maxDecimals; ++place)
        decimals += digitAt(d, -place);
    while (int(decimals.size()) > p.minDecimals && decimals.back() == '0')
        decimals.pop_back();
    if (!decimals.empty()) {
        out += '.';
        out += decimals;
    }
    if (out.empty())
        out.push_back('0');
    const bool zero = out.find_first_of("123456789") == std::string::npos;
    const QString text = QString::fromLatin1(out.data(), qsizetype(out.size()));
    return value < 0 && !zero ? QLatin1Char('-') + text : text;
}

} // namespace tavix
