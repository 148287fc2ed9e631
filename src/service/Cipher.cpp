#include "service/Cipher.h"

#include "service/Error.h"
#include "service/Rc6.h"

#include <QByteArrayView>
#include <algorithm>
#include <charconv>
#include <cstring>
#include <optional>
#include <utility>

namespace tavix {

namespace {

constexpr int KeyTextBytes = 15;

std::optional<std::int32_t> parseInteger(const QByteArray &decimalText)
{
    std::int32_t value = 0;
    const char *first = decimalText.constData();
    const char *last = first + decimalText.size();
    const auto [end, ec] = std::from_chars(first, last, value, 10);
    if (decimalText.isEmpty() || ec != std::errc() || end != last)
        return std::nullopt;
    return value;
}

// The cipher keyed from the key text and the chaining block of a CBC run. Both are wiped on
// destruction, also when a step throws.
class CbcRun
{
public:
    explicit CbcRun(const QByteArray &keyText) : m_cipher(keyBlock(keyText))
    {
        m_chain.fill(0xFF);
        m_cipher.encryptBlock(m_chain);
    }
    ~CbcRun() { wipe(m_chain.data(), m_chain.size()); }
    CbcRun(const CbcRun &) = delete;
    CbcRun &operator=(const CbcRun &) = delete;

    void decipher(std::uint8_t *data, qsizetype size)
    {
        Rc6::Block kept;
        for (; size >= Rc6::BlockSize; data += Rc6::BlockSize, size -= Rc6::BlockSize) {
            std::span<std::uint8_t, Rc6::BlockSize> block(data, Rc6::BlockSize);
            std::copy(block.begin(), block.end(), kept.begin());
            m_cipher.decryptBlock(block);
            xorInto(block.data(), m_chain.data(), Rc6::BlockSize);
            m_chain = kept;
        }
        wipe(kept.data(), kept.size());
        finalPart(data, size);
    }

    void encipher(std::uint8_t *data, qsizetype size)
    {
        for (; size >= Rc6::BlockSize; data += Rc6::BlockSize, size -= Rc6::BlockSize) {
            std::span<std::uint8_t, Rc6::BlockSize> block(data, Rc6::BlockSize);
            xorInto(block.data(), m_chain.data(), Rc6::BlockSize);
            m_cipher.encryptBlock(block);
            std::copy(block.begin(), block.end(), m_chain.begin());
        }
        finalPart(data, size);
    }

private:
    // The key text's first 15 bytes at offsets 0..14; the sixteenth byte always stays zero.
    static Rc6::Key keyBlock(const QByteArray &keyText)
    {
        Rc6::Key key{};
        const auto n = std::min<qsizetype>(keyText.size(), KeyTextBytes);
        std::memcpy(key.data(), keyText.constData(), size_t(n));
        return key;
    }

    static void xorInto(std::uint8_t *data, const std::uint8_t *with, qsizetype size)
    {
        for (qsizetype i = 0; i < size; ++i)
            data[i] ^= with[i];
    }

    // A final part shorter than a block is XORed with the encryption of the chaining block,
    // the same way in both directions.
    void finalPart(std::uint8_t *data, qsizetype size)
    {
        if (size == 0)
            return;
        Rc6::Block pad = m_chain;
        m_cipher.encryptBlock(pad);
        xorInto(data, pad.data(), size);
        wipe(pad.data(), pad.size());
    }

    Rc6 m_cipher;
    Rc6::Block m_chain;
};

QByteArray decodeBase64(const QByteArray &text)
{
    const auto formatError = [] {
        return Error(QStringLiteral("Base64: Incorrect string format"));
    };
    if (text.size() % 4 != 0)
        throw formatError();
    auto result = QByteArray::fromBase64Encoding(text, QByteArray::Base64Encoding |
                                                           QByteArray::AbortOnBase64DecodingErrors);
    if (!result)
        throw formatError();
    return std::move(result.decoded);
}

std::uint8_t *bytes(QByteArray &data)
{
    return reinterpret_cast<std::uint8_t *>(data.data());
}

// A key text that is wiped when it goes out of scope, also when a step throws.
class WipedKeyText
{
public:
    explicit WipedKeyText(QByteArray text) : m_text(std::move(text)) {}
    ~WipedKeyText() { wipe(m_text.data(), size_t(m_text.size())); }
    WipedKeyText(const WipedKeyText &) = delete;
    WipedKeyText &operator=(const WipedKeyText &) = delete;
    const QByteArray &text() const { return m_text; }

private:
    QByteArray m_text;
};

} // namespace

QByteArray XorText(const QByteArray &text, const QByteArray &decimalText)
{
    const auto value = parseInteger(decimalText);
    if (!value)
        return {};
    const auto mask = static_cast<char>(static_cast<std::uint8_t>(*value));
    QByteArray result = text;
    for (char &c : result)
        c = static_cast<char>(c ^ mask);
    return result;
}

bool IsValidMask(const QByteArray &decimalText)
{
    return parseInteger(decimalText).has_value();
}

QByteArray DecipherText(const QByteArray &base64, const QByteArray &keyText)
{
    CbcRun run(keyText);
    QByteArray data = decodeBase64(base64);
    run.decipher(bytes(data), data.size());
    return data;
}

QByteArray EncipherText(const QByteArray &plain, const QByteArray &keyText)
{
    CbcRun run(keyText);
    QByteArray data = plain;
    run.encipher(bytes(data), data.size());
    const QByteArray base64 = data.toBase64();
    wipe(data.data(), size_t(data.size()));
    return base64;
}

QByteArray DecipherConstant(const char *stored, qsizetype lastIndex, const QByteArray &keySource,
                            const QByteArray &maskSource)
{
    const QByteArray base64(stored, qsizetype(qstrnlen(stored, size_t(lastIndex))));
    const WipedKeyText keyText(XorText(keySource, maskSource));
    return DecipherText(base64, keyText.text());
}

QByteArray EncipherConstant(const QByteArray &plain, const QByteArray &keySource,
                            const QByteArray &maskSource)
{
    const WipedKeyText keyText(XorText(keySource, maskSource));
    return EncipherText(plain, keyText.text());
}

} // namespace tavix
