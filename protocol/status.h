// The printer's 32-bit status word. Bits 0..14 each stand for one
// condition; bits 15..31 mean nothing to this tool and are ignored.
#pragma once

#include <QString>

// One translated line per set condition bit, in bit order (not order of
// importance), each ended by "\n"; an empty string when no condition bit
// is set. Translation context "QObject".
QString checkPrinterStatus(unsigned int status);
