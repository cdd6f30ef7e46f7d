// Firmware and font file decryption on any length: every whole block gives
// its 16 decrypted bytes, a partial block of n bytes gives at most n with
// no trailing zero byte, and both engines agree.
#include "fuzz_check.h"
#include "maintenance/firmware_file.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray encrypted(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray plain = firmware::decryptImage(encrypted, aes::Engine::Portable);
    const qsizetype whole = encrypted.size() - encrypted.size() % 16;
    FUZZ_CHECK(plain.size() >= whole && plain.size() <= encrypted.size());
    if (plain.size() > whole)
        FUZZ_CHECK(plain.back() != '\0');
    FUZZ_CHECK(firmware::decryptImage(encrypted, aes::Engine::Fastest) == plain);
    if (whole >= 16) {
        uint8_t block[16];
        AES128_ECB_decrypt(data + whole - 16, firmware::kFileKey, block);
        FUZZ_CHECK(std::memcmp(block, plain.constData() + whole - 16, 16) == 0);
    }
    return 0;
}
