#pragma once

#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>

// A broken promise of the code under test: say which one and abort, so that
// libFuzzer keeps the input and the corpus replay fails.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// Puts the fuzzer's bytes into a real file for the readers to open.
inline bool writeFile(const QString &path, QByteArrayView bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes.data(), bytes.size()) == bytes.size() && file.flush();
}
