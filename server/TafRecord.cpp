#include "TafRecord.h"

#include "Text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tafserver {
namespace {

// 1-based inclusive columns of the layout.
std::string_view columns(std::string_view line, int first, int last)
{
    return line.substr(static_cast<std::size_t>(first - 1),
                       static_cast<std::size_t>(last - first + 1));
}

bool allDigits(std::string_view text)
{
    if (text.empty())
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

std::optional<int> integerField(std::string_view text)
{
    text = trimmed(text);
    if (!allDigits(text))
        return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::optional<double> numberField(std::string_view text)
{
    text = trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool isLetterOrBlank(char c)
{
    return c == ' ' || (c >= 'A' && c <= 'Z');
}

bool isAllegato(char c)
{
    return c == ' ' || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// PF numbers as written, down to two digits: "0005" -> "05", "   5" -> "5".
std::string pfText(std::string_view text)
{
    text = trimmed(text);
    while (text.size() > 2 && text.front() == '0')
        text.remove_prefix(1);
    return std::string(text);
}

std::string fixed3(double value, int width)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%*.3f", width, value);
    return buffer;
}

void put(std::string &line, int first, int last, std::string_view value, bool right = false)
{
    const auto width = static_cast<std::size_t>(last - first + 1);
    std::string cell(width, ' ');
    const std::size_t n = std::min(width, value.size());
    if (right)
        cell.replace(width - n, n, value.substr(value.size() - n));
    else
        cell.replace(0, n, value.substr(0, n));
    line.replace(static_cast<std::size_t>(first - 1), width, cell);
}

} // namespace

int TafRecord::pfNumber() const
{
    int value = 0;
    std::from_chars(pf.data(), pf.data() + pf.size(), value);
    return value;
}

std::optional<TafRecord> parseTafLine(std::string_view raw, std::string &reason)
{
    while (!raw.empty() && (raw.back() == '\r' || raw.back() == '\n'))
        raw.remove_suffix(1);
    if (raw.size() < 148) {
        reason = "riga troppo corta (" + std::to_string(raw.size()) + " caratteri)";
        return std::nullopt;
    }
    std::string padded(raw.substr(0, kTafLineLength));
    padded.resize(kTafLineLength, ' ');
    const std::string_view line = padded;

    TafRecord r;
    r.codice = std::string(columns(line, 1, 4));
    if (!(r.codice[0] >= 'A' && r.codice[0] <= 'Z') || !allDigits(r.codice.substr(1))) {
        reason = "codice comune non valido";
        return std::nullopt;
    }
    if (!isLetterOrBlank(line[4])) {
        reason = "sezione non valida";
        return std::nullopt;
    }
    r.sezione = line[4] == ' ' ? std::string() : std::string(1, line[4]);

    const auto foglio = integerField(columns(line, 7, 10));
    if (!foglio || *foglio < 1 || *foglio > kMaxSheet) {
        reason = "foglio non valido";
        return std::nullopt;
    }
    r.foglio = *foglio;
    r.allegato = line[11];
    if (!isAllegato(r.allegato)) {
        reason = "allegato non valido";
        return std::nullopt;
    }
    r.pf = pfText(columns(line, 14, 17));
    if (!allDigits(r.pf) || r.pf.size() > 2 || r.pfNumber() == 0) {
        reason = "numero PF non valido";
        return std::nullopt;
    }
    r.particella = latin1ToUtf8(trimmed(columns(line, 19, 29)));
    r.descPlanim = latin1ToUtf8(trimmed(columns(line, 31, 100)));

    const auto nord = numberField(columns(line, 102, 113));
    const auto est = numberField(columns(line, 115, 126));
    if (!nord || !est) {
        reason = "coordinate non valide";
        return std::nullopt;
    }
    r.nord = *nord;
    r.est = *est;
    const auto attP = integerField(columns(line, 128, 129));
    if (!attP) {
        reason = "attendibilita' planimetrica non valida";
        return std::nullopt;
    }
    r.attP = *attP;

    const std::string_view fgOrig = trimmed(columns(line, 131, 134));
    const auto fgOrigNumber = fgOrig.empty() ? std::optional<int>(9999) : integerField(fgOrig);
    if (!fgOrigNumber) {
        reason = "foglio di origine non valido";
        return std::nullopt;
    }
    r.fgOrig = *fgOrigNumber;
    r.allOrig = line[135];
    r.pfOrig = pfText(columns(line, 138, 141));

    const std::string_view data = trimmed(columns(line, 143, 148));
    if (!data.empty() && (data.size() != 6 || !allDigits(data))) {
        reason = "data di variazione non valida";
        return std::nullopt;
    }
    r.data = std::string(data);
    r.causale = latin1ToUtf8(trimmed(columns(line, 150, 164)));
    r.descAltim = latin1ToUtf8(trimmed(columns(line, 166, 235)));
    r.attA = std::string(trimmed(columns(line, 237, 239)));

    const std::string_view quota = trimmed(columns(line, 240, 251));
    if (!quota.empty()) {
        const auto value = numberField(quota);
        if (!value) {
            reason = "quota non valida";
            return std::nullopt;
        }
        if (std::fabs(*value - 9999.0) > 1e-6)
            r.quota = *value;
    }
    return r;
}

std::string formatTafLine(const TafRecord &r)
{
    std::string line(kTafLineLength, ' ');
    put(line, 1, 4, r.codice);
    put(line, 5, 5, r.sezione);
    char number[16];
    std::snprintf(number, sizeof number, "%04d", r.foglio);
    put(line, 7, 10, number);
    line[11] = r.allegato;
    put(line, 14, 17, r.pf, true);
    put(line, 19, 29, r.particella);
    put(line, 31, 100, r.descPlanim);
    put(line, 102, 113, fixed3(r.nord, 12));
    put(line, 115, 126, fixed3(r.est, 12));
    std::snprintf(number, sizeof number, "%02d", r.attP);
    put(line, 128, 129, number);
    std::snprintf(number, sizeof number, "%04d", r.fgOrig);
    put(line, 131, 134, number);
    line[135] = r.allOrig;
    put(line, 138, 141, r.pfOrig, true);
    put(line, 143, 148, r.data);
    put(line, 150, 164, r.causale);
    put(line, 166, 235, r.descAltim);
    put(line, 237, 238, r.attA, true);
    put(line, 240, 251, fixed3(r.quota.value_or(9999.0), 12));
    return line;
}

std::string canonicalSheet(int number, char allegato)
{
    std::string code(4, '0');
    const int hundreds = number / 100;
    code[0] =
        hundreds < 10 ? static_cast<char>('0' + hundreds) : static_cast<char>('A' + hundreds - 10);
    code[1] = static_cast<char>('0' + number / 10 % 10);
    code[2] = static_cast<char>('0' + number % 10);
    code[3] = allegato == ' ' ? '0' : allegato;
    return code;
}

std::string displayDate(std::string_view d)
{
    if (d.size() != 6)
        return {};
    const int yy = (d[4] - '0') * 10 + (d[5] - '0');
    const std::string century = yy < 70 ? "20" : "19";
    return std::string(d.substr(0, 2)) + "/" + std::string(d.substr(2, 2)) + "/" + century +
           std::string(d.substr(4, 2));
}

bool isGaussEast(double est)
{
    return est >= 1'000'000.0;
}

std::string_view fusoOf(double gaussEast)
{
    return gaussEast < 2'000'000.0 ? "OVEST" : "EST";
}

} // namespace tafserver
