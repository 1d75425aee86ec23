// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>

// The byte transform that hides the built-in art entries inside the program.
// The art generator scrambles every entry with it at build time and the asset
// store unscrambles the written-out copy, one byte at a time, in file order.
// It only keeps the pictures and the tune from being plain files in the
// executable; it is not meant to protect anything.
//
// Each byte is combined with the next byte of a keyed xorshift stream and
// rotated, so equal plain bytes give different scrambled bytes. Scramble and
// Unscramble are exact inverses when both start from the same key and see the
// bytes in the same order.
class AssetCipher {
public:
    static constexpr std::uint32_t kDefaultKey = 0x504C4F56u;  // "PLOV"

    explicit AssetCipher(std::uint32_t key = kDefaultKey) : m_state(key ? key : kDefaultKey) {}

    std::uint8_t Scramble(std::uint8_t plain)
    {
        const std::uint8_t mixed = std::uint8_t(plain ^ NextKeyByte());
        return std::uint8_t((mixed << 3) | (mixed >> 5));
    }

    std::uint8_t Unscramble(std::uint8_t scrambled)
    {
        const std::uint8_t mixed = std::uint8_t((scrambled >> 3) | (scrambled << 5));
        return std::uint8_t(mixed ^ NextKeyByte());
    }

private:
    std::uint8_t NextKeyByte()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return std::uint8_t(m_state >> 24);
    }

    std::uint32_t m_state;
};
