// What every printer operation returns. The transports, the query helpers
// and the window all speak these codes; the operations keep returning plain
// ints, so a code is written Result::NetworkFailed and compared as a number.
// Only the window's result reporter turns a code into a message.
#pragma once

namespace Result {

enum Code : int {
    Ok = 0,
    MalformedReply = 1,     // the reply failed the lead-in / code check
    NotConnected = 3,
    UsbFailed = 4,          // no selected device, no printer interface, a failed transfer
    UsbOpenFailed = 5,      // the device could not be opened or its interface claimed
    NetworkFailed = 6,      // no connection, a failed write, no reply in time
    BluetoothFailed = 7,
    SerialFailed = 8,
    NoTransport = -1,       // a medium without transport: nothing was sent
};

} // namespace Result
