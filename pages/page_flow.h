// The shape every page and function handler shares: make sure a printer is
// open, lock the window's main controls, connect the socket on the network
// medium, run the page's queries or instructions, disconnect, unlock and
// report the result. Handlers differ from it in a few small ways; each
// difference is one named option here, so a call site says which it takes.
// The window's helpers that run this flow are in pages/page_flow.cpp.
#pragma once

#include <QString>

#include <functional>
#include <initializer_list>

class QAbstractButton;

struct PageFlow
{
    enum class Lock {
        None,           // sets and one-shot functions leave the window usable
        BeforeCheck,    // lock first, then look for an open printer (most reads)
        AfterCheck,     // look for an open printer first, then lock
        AfterConnect,   // lock only once the socket is connected (stripper read)
    };
    Lock lock = Lock::None;
    // No printer open: a critical "设备未打开!" instead of "请先打开设备".
    bool criticalWhenClosed = false;
    // Confirmations and input checks, after the open check and before
    // anything is sent; false stops the handler (they show their own box).
    std::function<bool()> proceed;
    // Reads: enable the set button after any completed read, before the
    // result is reported, whatever it is.
    bool enableSetAlways = false;
    // Reads: the medium over which the page cannot be changed; while its
    // check box is ticked a read leaves the set button disabled.
    const QAbstractButton *noSetOver = nullptr;
    // File transfers open their own stream and hold it past the handler:
    // no socket connection around the exchange.
    bool bracketSocket = true;
};

// Pages run every query or instruction and report the first failure in
// slot order, or 0.
template<typename Results>
int firstFailure(const Results &results)
{
    for (int r : results) {
        if (r != 0)
            return r;
    }
    return 0;
}

inline int firstFailure(std::initializer_list<int> results)
{
    return firstFailure<std::initializer_list<int>>(results);
}

// What a page reports when one of its queries failed, whatever the query's
// own result: the communication error of the medium (USB 5, network 6,
// Bluetooth 7, serial 8; -1, passed over silently, for a medium without
// transport).
int mediumFailure(int medium);

// A field's name for a refusal, from the text of its label: "wifi密码：" and
// "TCP端口:" name the fields "wifi密码" and "TCP端口" (the colons and blanks
// around the label's text, in any language, dropped).
QString fieldNameOf(const QString &label);
