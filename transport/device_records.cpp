#include "device_records.h"

const QByteArray head = QByteArray::fromHex("1bfffe");
const QByteArray tail = QByteArray::fromHex("1bfeff");

QByteArray rtBuf;
bool readReady_TCP = false;
QByteArray recvBuf_TCP;
QByteArray resultBuf_TCP;
bool timeoutFlag_TCP = false;
bool scanFlag_TCP = false;

QRandomGenerator64 *generator = QRandomGenerator64::global();
int randomInt = 0;
int lastNumber = -1;
