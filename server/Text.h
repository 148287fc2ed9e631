#pragma once
// Byte-level text helpers for the wire: percent-decoding, Windows-1252 and Latin-1 to UTF-8,
// strict Base64, trimming. Pure functions, no I/O.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tafserver {

// Decodes %XX escapes (and '+' as a blank) into raw bytes; nullopt on a broken escape.
std::optional<std::string> percentDecode(std::string_view text);

// Query-string pairs, keys and values decoded and converted from Windows-1252 to UTF-8.
// nullopt when an escape is broken or a key repeats (an ambiguous request).
std::optional<std::map<std::string, std::string>> parseQuery(std::string_view query);

// An application/x-www-form-urlencoded body sent by a browser as UTF-8; nullopt when an escape
// is broken, a key repeats or a value is not valid UTF-8.
std::optional<std::map<std::string, std::string>> parseUtf8Form(std::string_view body);

// Code points of valid UTF-8 (shortest forms, no surrogates); nullopt otherwise.
std::optional<std::u32string> decodeUtf8(std::string_view text);
// The code point has a byte of its own in Windows-1252, the client's encoding on the wire.
bool inWindows1252(char32_t cp);

std::string windows1252ToUtf8(std::string_view bytes);
std::string latin1ToUtf8(std::string_view bytes);

// Standard alphabet with '=' padding; CR and LF are skipped; anything else is refused.
std::optional<std::string> base64Decode(std::string_view text);

std::string_view trimmed(std::string_view text);
std::string upper(std::string_view text);

} // namespace tafserver
