// SPDX-License-Identifier: MIT
#include "Deflate.h"

#include <array>

namespace {

const int kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                             31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const int kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const int kDistBase[30] = {1,   2,   3,   4,    5,    7,    9,    13,   17,    25,
                           33,  49,  65,  97,   129,  193,  257,  385,  513,   769,
                           1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const int kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                            6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : m_out(out) {}
    // Values with their least significant bit first (extra bits, headers).
    void Bits(std::uint32_t value, int count)
    {
        for (int i = 0; i < count; ++i)
            Bit((value >> i) & 1u);
    }
    // Huffman codes go most significant bit first.
    void Code(std::uint32_t code, int length)
    {
        for (int i = length - 1; i >= 0; --i)
            Bit((code >> i) & 1u);
    }
    void Flush()
    {
        if (m_count > 0)
            m_out.push_back(std::uint8_t(m_acc));
        m_acc = 0;
        m_count = 0;
    }

private:
    void Bit(std::uint32_t b)
    {
        m_acc |= b << m_count;
        if (++m_count == 8)
            Flush();
    }
    std::vector<std::uint8_t>& m_out;
    std::uint32_t m_acc = 0;
    int m_count = 0;
};

void WriteLiteral(BitWriter& w, int symbol)
{
    if (symbol < 144)
        w.Code(0x30 + symbol, 8);
    else if (symbol < 256)
        w.Code(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        w.Code(symbol - 256, 7);
    else
        w.Code(0xC0 + symbol - 280, 8);
}

void WriteMatch(BitWriter& w, int length, int distance)
{
    int li = 28;
    while (kLengthBase[li] > length)
        --li;
    WriteLiteral(w, 257 + li);
    w.Bits(std::uint32_t(length - kLengthBase[li]), kLengthExtra[li]);
    int di = 29;
    while (kDistBase[di] > distance)
        --di;
    w.Code(std::uint32_t(di), 5);
    w.Bits(std::uint32_t(distance - kDistBase[di]), kDistExtra[di]);
}

std::uint32_t Adler32(const std::vector<std::uint8_t>& data)
{
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % 65521u;
        b = (b + a) % 65521u;
    }
    return (b << 16) | a;
}

}  // namespace

std::vector<std::uint8_t> ZlibCompress(const std::vector<std::uint8_t>& data)
{
    constexpr int kWindow = 32768, kHashSize = 1 << 15, kMaxChain = 48;
    std::vector<std::uint8_t> out = {0x78, 0x01};
    BitWriter w(out);
    w.Bits(1, 1);  // final block
    w.Bits(1, 2);  // fixed Huffman codes
    std::vector<int> head(kHashSize, -1), prev(kWindow, -1);
    const int n = int(data.size());
    auto hashAt = [&](int i) {
        return ((data[i] << 10) ^ (data[i + 1] << 5) ^ data[i + 2]) & (kHashSize - 1);
    };
    auto insert = [&](int i) {
        if (i + 2 >= n)
            return;
        const int h = hashAt(i);
        prev[i % kWindow] = head[h];
        head[h] = i;
    };
    int i = 0;
    while (i < n) {
        int bestLength = 0, bestDistance = 0;
        if (i + 2 < n) {
            int candidate = head[hashAt(i)];
            for (int chain = 0; candidate >= 0 && i - candidate < kWindow && chain < kMaxChain; ++chain) {
                int length = 0;
                while (length < 258 && i + length < n && data[candidate + length] == data[i + length])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = i - candidate;
                    if (length == 258)
                        break;
                }
                const int next = prev[candidate % kWindow];
                if (next >= candidate)
                    break;
                candidate = next;
            }
        }
        if (bestLength >= 3) {
            WriteMatch(w, bestLength, bestDistance);
            for (int k = 0; k < bestLength; ++k)
                insert(i + k);
            i += bestLength;
        } else {
            WriteLiteral(w, data[i]);
            insert(i);
            ++i;
        }
    }
    WriteLiteral(w, 256);
    w.Flush();
    const std::uint32_t adler = Adler32(data);
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(std::uint8_t(adler >> shift));
    return out;
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFFu] ^ (crc >> 8);
    return ~crc;
}
