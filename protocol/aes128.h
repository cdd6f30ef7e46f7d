// AES-128 decryption (FIPS-197 inverse cipher) for the printer's firmware
// and font files, which are stored encrypted block by block (ECB) under a
// key built into this program. Only decryption is needed: the files come
// encrypted and the printer takes them decrypted.
//
// Two engines compute the same thing:
//   - a portable one, the equivalent inverse cipher on 32-bit lookup
//     tables (the tables are constants, built at compile time);
//   - on x86-64 processors with the AES instructions, one that runs the
//     rounds in hardware, eight blocks at a time.
// The key is no secret (it ships inside the program), so the table
// lookups' timing is of no concern here.
//
// Nothing here keeps mutable state outside the objects: a Decryptor is
// immutable once built and may be shared by threads.
#pragma once

#include <cstddef>
#include <cstdint>

// Decrypts one 16-byte block `input` with the 16-byte `key` into the
// 16-byte `output` (a different buffer). Expands the key on every call;
// for more than a few blocks use aes::Decryptor.
void AES128_ECB_decrypt(const uint8_t *input, const uint8_t *key, uint8_t *output);

namespace aes {

constexpr std::size_t kBlockSize = 16;
constexpr std::size_t kKeySize = 16;
constexpr int kRounds = 10;

enum class Engine {
    Fastest,  // the AES instructions when the processor has them, else portable
    Portable, // the table engine whatever the processor
};

class Decryptor
{
public:
    // Expands `key` (16 bytes) once.
    explicit Decryptor(const uint8_t key[kKeySize], Engine engine = Engine::Fastest);

    // Decrypts `blocks` 16-byte blocks from `in` to `out`. `out` may be
    // `in` itself (in place) but must not otherwise overlap it.
    void decrypt(const uint8_t *in, uint8_t *out, std::size_t blocks) const;

    // Whether this object runs on the AES instructions.
    bool usesHardware() const { return hardware_; }
    // Whether this processor (and build) offers them.
    static bool hardwareAvailable();

private:
    // Decryption round keys in the order they are applied: round 10's key
    // first, InvMixColumns already applied to rounds 9..1, round 0's last.
    // The same bytes in both engines' forms.
    alignas(16) uint8_t keyBytes_[kRounds + 1][kBlockSize];
    uint32_t keyWords_[4 * (kRounds + 1)];
    bool hardware_ = false;
};

} // namespace aes
