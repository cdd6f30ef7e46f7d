// Firmware and font files as the operator picks them: stored encrypted
// (AES-128, block by block, under the key below) and decrypted into a
// temporary file next to the chosen one just before the download into the
// printer. The download worker removes that file when it is done.
//
// Decryption works on 16-byte blocks. A whole block gives its 16 decrypted
// bytes, zeros included. A file whose length is not a multiple of 16 ends
// in a partial block of n bytes: it is zero-filled to 16 bytes and
// decrypted, and of the first n decrypted bytes the trailing zero bytes
// are dropped (all n when they are all zero). Packed files are whole
// blocks; the rule only decides what a cut or hand-padded file yields.
#pragma once

#include "protocol/aes128.h"

#include <QByteArray>
#include <QString>

namespace firmware {

// The built-in key: the 16 ASCII characters "804271635plmokny".
inline constexpr uint8_t kFileKey[aes::kKeySize] = {'8', '0', '4', '2', '7', '1', '6', '3',
                                                    '5', 'p', 'l', 'm', 'o', 'k', 'n', 'y'};

enum class FileKind { Firmware, Font };

// Where the decrypted copy of `chosenPath` goes: the chosen file's folder
// (absolute), its name without the last suffix, then "_decrypted.hex" for
// firmware, or for a font "_decrypted." and the chosen file's own last
// suffix ("bin" when it has none): "/d/a.b.bin" -> "/d/a.b_decrypted.hex"
// (firmware) or "/d/a.b_decrypted.bin" (font).
QString decryptedFileName(const QString &chosenPath, FileKind kind);

// The decryption of a whole file held in memory.
QByteArray decryptImage(const QByteArray &encrypted, aes::Engine engine = aes::Engine::Fastest);

struct DecryptResult
{
    bool ok = false;
    QString path;  // the temporary file written (empty when nothing was)
    QString error; // why not, when !ok
};

// Decrypts the chosen file into a new temporary file and returns its path.
// The file is created owner read/write only (0600) and never replaces
// anything: when decryptedFileName() is taken, a unique name in the same
// folder is used instead ("<name>_decrypted-XXXXXX.<suffix>"). Fails
// without creating anything when the chosen file cannot be opened or no
// file can be created; removes its own partial file when reading or
// writing fails midway.
DecryptResult decryptToTemporary(const QString &chosenPath, FileKind kind,
                                 aes::Engine engine = aes::Engine::Fastest);

} // namespace firmware
