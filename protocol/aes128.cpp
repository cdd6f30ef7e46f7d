#include "protocol/aes128.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define AES_X86_INSTRUCTIONS 1
#include <wmmintrin.h>
#endif

namespace aes {
namespace {

// Arithmetic in GF(2^8) modulo x^8 + x^4 + x^3 + x + 1.
constexpr uint8_t times2(uint8_t x)
{
    return uint8_t((x << 1) ^ (x & 0x80 ? 0x1b : 0));
}

constexpr uint8_t multiply(uint8_t a, uint8_t b)
{
    uint8_t product = 0;
    for (; b != 0; b >>= 1, a = times2(a))
        if (b & 1)
            product ^= a;
    return product;
}

// x^254 = x^-1 for x != 0, and 0 for 0: the product of x^2, x^4 ... x^128.
constexpr uint8_t inverse(uint8_t x)
{
    uint8_t result = 1;
    for (int i = 1; i < 8; ++i) {
        x = multiply(x, x);
        result = multiply(result, x);
    }
    return result;
}

constexpr uint8_t rotl8(uint8_t x, int n)
{
    return uint8_t((x << n) | (x >> (8 - n)));
}

constexpr uint32_t rotr32(uint32_t x, int n)
{
    return (x >> n) | (x << (32 - n));
}

struct Tables
{
    uint8_t sbox[256];
    uint8_t invSbox[256];
    // td[0][x]: InvMixColumns' column (0e 09 0d 0b) times InvSubBytes(x),
    // first row in the high byte; td[1..3] are it for rows 1..3, which is
    // the same word rotated right by 8, 16, 24 bits.
    uint32_t td[4][256];
};

constexpr Tables makeTables()
{
    Tables t{};
    for (int x = 0; x < 256; ++x) {
        const uint8_t b = inverse(uint8_t(x));
        t.sbox[x] = uint8_t(b ^ rotl8(b, 1) ^ rotl8(b, 2) ^ rotl8(b, 3) ^ rotl8(b, 4) ^ 0x63);
        t.invSbox[t.sbox[x]] = uint8_t(x);
    }
    for (int x = 0; x < 256; ++x) {
        const uint8_t s = t.invSbox[x];
        const uint32_t word = uint32_t(multiply(s, 0x0e)) << 24 | uint32_t(multiply(s, 0x09)) << 16
                              | uint32_t(multiply(s, 0x0d)) << 8 | multiply(s, 0x0b);
        for (int row = 0; row < 4; ++row)
            t.td[row][x] = row == 0 ? word : rotr32(word, 8 * row);
    }
    return t;
}

constexpr Tables kTables = makeTables();
static_assert(kTables.sbox[0x00] == 0x63 && kTables.sbox[0x53] == 0xed && kTables.invSbox[0x63] == 0x00);

inline uint32_t loadBig(const uint8_t *p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

inline void storeBig(uint8_t *p, uint32_t v)
{
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}

inline uint8_t byteOf(uint32_t word, int row)
{
    return uint8_t(word >> (24 - 8 * row));
}

// One output column of a middle round: InvShiftRows brings row r from
// the column r places to the left, so the rows come from a, b, c, d.
inline uint32_t roundColumn(uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
    const auto &td = kTables.td;
    return td[0][byteOf(a, 0)] ^ td[1][byteOf(b, 1)] ^ td[2][byteOf(c, 2)] ^ td[3][byteOf(d, 3)];
}

// The last round has no InvMixColumns: InvSubBytes only.
inline uint32_t lastColumn(uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
    const uint8_t *inv = kTables.invSbox;
    return uint32_t(inv[byteOf(a, 0)]) << 24 | uint32_t(inv[byteOf(b, 1)]) << 16
           | uint32_t(inv[byteOf(c, 2)]) << 8 | inv[byteOf(d, 3)];
}

// InvMixColumns of a round-key word: the tables undo SubBytes first.
uint32_t invMixColumn(uint32_t w)
{
    const uint8_t *s = kTables.sbox;
    return roundColumn(uint32_t(s[byteOf(w, 0)]) << 24, uint32_t(s[byteOf(w, 1)]) << 16,
                       uint32_t(s[byteOf(w, 2)]) << 8, s[byteOf(w, 3)]);
}

uint32_t subWord(uint32_t w)
{
    const uint8_t *s = kTables.sbox;
    return uint32_t(s[byteOf(w, 0)]) << 24 | uint32_t(s[byteOf(w, 1)]) << 16
           | uint32_t(s[byteOf(w, 2)]) << 8 | s[byteOf(w, 3)];
}

void decryptPortable(const uint32_t *keys, const uint8_t *in, uint8_t *out, std::size_t blocks)
{
    for (; blocks > 0; --blocks, in += kBlockSize, out += kBlockSize) {
        const uint32_t *k = keys;
        uint32_t s0 = loadBig(in) ^ k[0], s1 = loadBig(in + 4) ^ k[1];
        uint32_t s2 = loadBig(in + 8) ^ k[2], s3 = loadBig(in + 12) ^ k[3];
        for (int round = 1; round < kRounds; ++round) {
            k += 4;
            const uint32_t t0 = roundColumn(s0, s3, s2, s1) ^ k[0];
            const uint32_t t1 = roundColumn(s1, s0, s3, s2) ^ k[1];
            const uint32_t t2 = roundColumn(s2, s1, s0, s3) ^ k[2];
            const uint32_t t3 = roundColumn(s3, s2, s1, s0) ^ k[3];
            s0 = t0, s1 = t1, s2 = t2, s3 = t3;
        }
        k += 4;
        storeBig(out, lastColumn(s0, s3, s2, s1) ^ k[0]);
        storeBig(out + 4, lastColumn(s1, s0, s3, s2) ^ k[1]);
        storeBig(out + 8, lastColumn(s2, s1, s0, s3) ^ k[2]);
        storeBig(out + 12, lastColumn(s3, s2, s1, s0) ^ k[3]);
    }
}

#ifdef AES_X86_INSTRUCTIONS
// The AES instructions take the round keys of the equivalent inverse
// cipher as they are stored (InvMixColumns applied to the middle ones).
// Eight independent blocks keep the decryption unit busy while each
// round's result is still on its way.
__attribute__((target("aes,sse2"))) void decryptHardware(const uint8_t (*keys)[kBlockSize],
                                                        const uint8_t *in, uint8_t *out,
                                                        std::size_t blocks)
{
    constexpr std::size_t kLanes = 8;
    __m128i k[kRounds + 1];
    for (int r = 0; r <= kRounds; ++r)
        k[r] = _mm_load_si128(reinterpret_cast<const __m128i *>(keys[r]));
    const auto *src = reinterpret_cast<const __m128i *>(in);
    auto *dst = reinterpret_cast<__m128i *>(out);
    for (; blocks >= kLanes; blocks -= kLanes, src += kLanes, dst += kLanes) {
        __m128i s[kLanes];
#pragma GCC unroll 8
        for (std::size_t i = 0; i < kLanes; ++i)
            s[i] = _mm_xor_si128(_mm_loadu_si128(src + i), k[0]);
        for (int r = 1; r < kRounds; ++r) {
#pragma GCC unroll 8
            for (std::size_t i = 0; i < kLanes; ++i)
                s[i] = _mm_aesdec_si128(s[i], k[r]);
        }
#pragma GCC unroll 8
        for (std::size_t i = 0; i < kLanes; ++i)
            _mm_storeu_si128(dst + i, _mm_aesdeclast_si128(s[i], k[kRounds]));
    }
    for (; blocks > 0; --blocks, ++src, ++dst) {
        __m128i s = _mm_xor_si128(_mm_loadu_si128(src), k[0]);
        for (int r = 1; r < kRounds; ++r)
            s = _mm_aesdec_si128(s, k[r]);
        _mm_storeu_si128(dst, _mm_aesdeclast_si128(s, k[kRounds]));
    }
}
#endif

} // namespace

Decryptor::Decryptor(const uint8_t key[kKeySize], Engine engine)
{
    // Key expansion: 44 words, the first four the key itself.
    uint32_t w[4 * (kRounds + 1)];
    for (int i = 0; i < 4; ++i)
        w[i] = loadBig(key + 4 * i);
    uint8_t rcon = 1;
    for (int i = 4; i < 4 * (kRounds + 1); ++i) {
        uint32_t t = w[i - 1];
        if (i % 4 == 0) {
            t = subWord(rotr32(t, 24)) ^ uint32_t(rcon) << 24;
            rcon = times2(rcon);
        }
        w[i] = w[i - 4] ^ t;
    }
    // Decryption runs the rounds backwards; with InvMixColumns moved onto
    // the middle round keys each round can be one table step per column.
    for (int r = 0; r <= kRounds; ++r) {
        for (int c = 0; c < 4; ++c) {
            uint32_t word = w[4 * (kRounds - r) + c];
            if (r > 0 && r < kRounds)
                word = invMixColumn(word);
            keyWords_[4 * r + c] = word;
            storeBig(keyBytes_[r] + 4 * c, word);
        }
    }
    hardware_ = engine == Engine::Fastest && hardwareAvailable();
}

void Decryptor::decrypt(const uint8_t *in, uint8_t *out, std::size_t blocks) const
{
#ifdef AES_X86_INSTRUCTIONS
    if (hardware_) {
        decryptHardware(keyBytes_, in, out, blocks);
        return;
    }
#endif
    decryptPortable(keyWords_, in, out, blocks);
}

bool Decryptor::hardwareAvailable()
{
#ifdef AES_X86_INSTRUCTIONS
    return __builtin_cpu_supports("aes") && __builtin_cpu_supports("sse2");
#else
    return false;
#endif
}

} // namespace aes

void AES128_ECB_decrypt(const uint8_t *input, const uint8_t *key, uint8_t *output)
{
    aes::Decryptor(key).decrypt(input, output, 1);
}
