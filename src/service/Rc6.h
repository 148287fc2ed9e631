#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace tavix {

// The RC6 block cipher with 32-bit words, 20 rounds, 16-byte blocks and a 128-bit key.
// The key schedule is wiped when the object goes away.
class Rc6
{
public:
    static constexpr int BlockSize = 16;
    static constexpr int KeySize = 16;
    using Block = std::array<std::uint8_t, BlockSize>;
    using Key = std::array<std::uint8_t, KeySize>;

    explicit Rc6(const Key &key);
    ~Rc6();
    Rc6(const Rc6 &) = delete;
    Rc6 &operator=(const Rc6 &) = delete;

    void encryptBlock(std::span<std::uint8_t, BlockSize> block) const;
    void decryptBlock(std::span<std::uint8_t, BlockSize> block) const;

private:
    static constexpr int Rounds = 20;
    std::array<std::uint32_t, 2 * Rounds + 4> m_schedule{};
};

// Overwrites memory in a way the optimiser may not drop, for key material.
void wipe(void *data, std::size_t size) noexcept;

} // namespace tavix
