#include "QueryCommon.h"

#include "Auth.h"
#include "Regions.h"
#include "Text.h"

#include <charconv>

namespace tafserver {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isUpperLetter(char c)
{
    return c >= 'A' && c <= 'Z';
}

} // namespace

const std::string &QueryRequest::get(std::string_view key) const
{
    static const std::string empty;
    const auto it = params.find(std::string(key));
    return it == params.end() ? empty : it->second;
}

Answer packetAnswer(std::string packet)
{
    Answer answer;
    answer.body = std::move(packet);
    return answer;
}

Answer refused(const std::vector<FieldDef> &fields, std::string reason)
{
    Answer answer;
    answer.body = emptyPacket(fields);
    answer.refusal = std::move(reason);
    return answer;
}

bool credentialsValid(const QueryRequest &request)
{
    return checkCredentials(request.db, request.get("user"), request.get("pwd")) == Credentials::Ok;
}

bool filenameValid(const QueryRequest &request)
{
    const std::string &filename = request.get("filename");
    return filename.empty() || isRegionFile(filename);
}

std::optional<ComuneCode> parseComune(std::string_view text)
{
    const std::string code = upper(trimmed(text));
    if ((code.size() != 4 && code.size() != 5) || !isUpperLetter(code[0]) || !isDigit(code[1]) ||
        !isDigit(code[2]) || !isDigit(code[3]) || (code.size() == 5 && !isUpperLetter(code[4])))
        return std::nullopt;
    return ComuneCode{code.substr(0, 4), code.substr(4)};
}

std::optional<std::string> parseSheet(std::string_view text)
{
    const std::string sheet = upper(trimmed(text));
    const auto alnum = [](char c) { return isDigit(c) || isUpperLetter(c); };
    if (sheet.size() != 4 || !alnum(sheet[0]) || !isDigit(sheet[1]) || !isDigit(sheet[2]) ||
        !alnum(sheet[3]))
        return std::nullopt;
    return sheet;
}

std::optional<int> parsePf(std::string_view text)
{
    const auto value = parseSmallNumber(text);
    if (!value || *value < 1 || *value > 99 || trimmed(text).size() > 2)
        return std::nullopt;
    return value;
}

std::optional<int> parseSmallNumber(std::string_view text)
{
    text = trimmed(text);
    if (text.empty() || text.size() > 6)
        return std::nullopt;
    for (const char c : text)
        if (!isDigit(c))
            return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

} // namespace tafserver
