#pragma once
// What every query handler receives and returns, and the checks they share.

#include "Packet.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tafserver {

class Database;

struct QueryRequest
{
    Database &db;
    const std::map<std::string, std::string> &params; // decoded, UTF-8
    std::string host;                                 // Host header, for absolute addresses

    // The value of a parameter; empty when it is missing.
    const std::string &get(std::string_view key) const;
};

struct Answer
{
    int status = 200;
    std::string body;
    // Sent as is: compressing a megabyte costs more than it saves on loopback or a LAN (a
    // front proxy can compress for distant users).
    std::string contentType = "application/xml; charset=UTF-8";
    std::string refusal; // why the rows were withheld (logged and sent as a header)
};

using QueryHandler = Answer (*)(const QueryRequest &);

Answer packetAnswer(std::string packet);
// A packet of the given fields with no rows, and the reason.
Answer refused(const std::vector<FieldDef> &fields, std::string reason);

// The request's "user"/"pwd" name an active account.
bool credentialsValid(const QueryRequest &request);
// "filename" is empty or one of the region files.
bool filenameValid(const QueryRequest &request);

struct ComuneCode
{
    std::string base;    // 4 characters
    std::string section; // empty or one letter
};
// "H501" or "M320A"; nullopt for anything else.
std::optional<ComuneCode> parseComune(std::string_view text);
// The canonical four-character sheet ("0120", "A34B"); lower case accepted.
std::optional<std::string> parseSheet(std::string_view text);
// One or two digits, 1..99.
std::optional<int> parsePf(std::string_view text);
std::optional<int> parseSmallNumber(std::string_view text);

} // namespace tafserver
