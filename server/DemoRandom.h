#pragma once
// The demo archive's only source of chance: SplitMix64 seeded from a fixed number and the
// comune's code, so every comune comes out the same whatever the scope or the order.

#include <cstdint>
#include <string_view>

namespace tafserver {

constexpr std::uint64_t kDemoSeed = 0x7A5F'2004'0215'0001ULL;

inline std::uint64_t hashText(std::string_view text)
{
    std::uint64_t h = 1469598103934665603ULL;
    for (const char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ULL;
    }
    return h;
}

class DemoRandom
{
public:
    explicit DemoRandom(std::uint64_t seed) : m_state(seed ^ kDemoSeed) {}
    explicit DemoRandom(std::string_view key) : DemoRandom(hashText(key)) {}

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Inclusive range.
    int range(int lo, int hi)
    {
        return lo + static_cast<int>(next() % static_cast<std::uint64_t>(hi - lo + 1));
    }
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    double between(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    bool chance(double p) { return uniform() < p; }
    template <typename T, std::size_t N> const T &pick(const T (&items)[N])
    {
        return items[next() % N];
    }

private:
    std::uint64_t m_state;
};

} // namespace tafserver
