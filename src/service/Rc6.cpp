#include "service/Rc6.h"

#include <algorithm>
#include <bit>

namespace tavix {

namespace {

constexpr std::uint32_t P32 = 0xB7E15163u;
constexpr std::uint32_t Q32 = 0x9E3779B9u;

std::uint32_t loadWord(const std::uint8_t *p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

void storeWord(std::uint8_t *p, std::uint32_t w)
{
    p[0] = std::uint8_t(w);
    p[1] = std::uint8_t(w >> 8);
    p[2] = std::uint8_t(w >> 16);
    p[3] = std::uint8_t(w >> 24);
}

std::uint32_t rotl(std::uint32_t x, std::uint32_t n)
{
    return std::rotl(x, int(n & 31u));
}

std::uint32_t rotr(std::uint32_t x, std::uint32_t n)
{
    return std::rotr(x, int(n & 31u));
}

// f(x) = (x * (2x + 1)) <<< lg w, the quadratic mixing of each round.
std::uint32_t mix(std::uint32_t x)
{
    return rotl(x * (2 * x + 1), 5);
}

} // namespace

Rc6::Rc6(const Key &key)
{
    constexpr int KeyWords = KeySize / 4;
    std::array<std::uint32_t, KeyWords> l{};
    for (int i = 0; i < KeyWords; ++i)
        l[i] = loadWord(key.data() + 4 * i);

    const int t = int(m_schedule.size());
    m_schedule[0] = P32;
    for (int i = 1; i < t; ++i)
        m_schedule[i] = m_schedule[i - 1] + Q32;

    std::uint32_t a = 0, b = 0;
    int i = 0, j = 0;
    for (int s = 0; s < 3 * std::max(t, KeyWords); ++s) {
        a = m_schedule[i] = rotl(m_schedule[i] + a + b, 3);
        b = l[j] = rotl(l[j] + a + b, a + b);
        i = (i + 1) % t;
        j = (j + 1) % KeyWords;
    }
    wipe(l.data(), sizeof l);
}

Rc6::~Rc6()
{
    wipe(m_schedule.data(), sizeof m_schedule);
}

void Rc6::encryptBlock(std::span<std::uint8_t, BlockSize> block) const
{
    std::uint32_t a = loadWord(&block[0]), b = loadWord(&block[4]);
    std::uint32_t c = loadWord(&block[8]), d = loadWord(&block[12]);
    const auto &s = m_schedule;
    b += s[0];
    d += s[1];
    for (int i = 1; i <= Rounds; ++i) {
        const std::uint32_t t = mix(b);
        const std::uint32_t u = mix(d);
        a = rotl(a ^ t, u) + s[2 * i];
        c = rotl(c ^ u, t) + s[2 * i + 1];
        const std::uint32_t first = a;
        a = b;
        b = c;
        c = d;
        d = first;
    }
    a += s[2 * Rounds + 2];
    c += s[2 * Rounds + 3];
    storeWord(&block[0], a);
    storeWord(&block[4], b);
    storeWord(&block[8], c);
    storeWord(&block[12], d);
}

void Rc6::decryptBlock(std::span<std::uint8_t, BlockSize> block) const
{
    std::uint32_t a = loadWord(&block[0]), b = loadWord(&block[4]);
    std::uint32_t c = loadWord(&block[8]), d = loadWord(&block[12]);
    const auto &s = m_schedule;
    c -= s[2 * Rounds + 3];
    a -= s[2 * Rounds + 2];
    for (int i = Rounds; i >= 1; --i) {
        const std::uint32_t last = d;
        d = c;
        c = b;
        b = a;
        a = last;
        const std::uint32_t u = mix(d);
        const std::uint32_t t = mix(b);
        c = rotr(c - s[2 * i + 1], t) ^ u;
        a = rotr(a - s[2 * i], u) ^ t;
    }
    d -= s[1];
    b -= s[0];
    storeWord(&block[0], a);
    storeWord(&block[4], b);
    storeWord(&block[8], c);
    storeWord(&block[12], d);
}

void wipe(void *data, std::size_t size) noexcept
{
    volatile auto *p = static_cast<volatile std::uint8_t *>(data);
    for (std::size_t i = 0; i < size; ++i)
        p[i] = 0;
}

} // namespace tavix
