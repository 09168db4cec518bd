#pragma once

// What every fuzz target shares: a broken promise aborts with its name, Qt's warnings about
// damaged values are silenced, and files go to one folder for the whole run.
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

inline void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// One folder for the whole run, in memory where the system offers it.
inline const QTemporaryDir& fuzzFolder()
{
    using namespace Qt::StringLiterals;
    static const QTemporaryDir dir(QDir(u"/dev/shm"_s).exists()
                                       ? u"/dev/shm/skylistener-fuzz-XXXXXX"_s
                                       : QDir::tempPath() + u"/skylistener-fuzz-XXXXXX"_s);
    return dir;
}

// Qt's warnings about damaged values would flood the fuzzer's own output. Each target includes
// this header once.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}
