#pragma once

#include <QByteArray>

// Enciphered constants: RC6 in CBC mode over Base64 text, keyed by a short key text.
// Texts are single-byte (Windows-1252), so everything here works on bytes.
namespace tavix {

// Every byte of text XORed with the lowest byte of the integer that decimalText denotes;
// empty when decimalText is not a valid integer.
QByteArray XorText(const QByteArray &text, const QByteArray &decimalText);

// Deciphers Base64 text with the key made of the first 15 bytes of keyText. Throws
// tavix::Error "Base64: Incorrect string format" on bad Base64. No padding is removed.
QByteArray DecipherText(const QByteArray &base64, const QByteArray &keyText);

// The inverse of DecipherText: gives the Base64 text that deciphers to plain.
QByteArray EncipherText(const QByteArray &plain, const QByteArray &keyText);

// Deciphers a stored constant: the Base64 characters of stored[0 .. lastIndex) up to the first
// NUL, with the key text XorText(keySource, maskSource).
QByteArray DecipherConstant(const char *stored, qsizetype lastIndex, const QByteArray &keySource,
                            const QByteArray &maskSource);

// The stored form (Base64 text) of plain for the given key text source and mask source.
QByteArray EncipherConstant(const QByteArray &plain, const QByteArray &keySource,
                            const QByteArray &maskSource);

// True when decimalText denotes an integer that XorText accepts.
bool IsValidMask(const QByteArray &decimalText);

} // namespace tavix
