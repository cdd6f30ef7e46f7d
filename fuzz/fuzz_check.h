// What the fuzz targets share: a property check that stops the run the way
// a crash does, so libFuzzer keeps the input that broke it.
#pragma once

#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "property broken: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

// The parsers' own diagnostics would flood the run; the properties speak.
inline void fuzzQuiet()
{
    static const bool once = [] {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        return true;
    }();
    (void)once;
}
