// The settings read at start-up: the input is the settings file as it lies on disk, read through
// a fresh store as the next start of the program would; the values also go straight through the
// number and flag conversions.
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"
#include "stations/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstdint>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

const QTemporaryDir& folder()
{
    static const QTemporaryDir dir(QDir(u"/dev/shm"_s).exists()
                                       ? u"/dev/shm/skylistener-fuzz-XXXXXX"_s
                                       : QDir::tempPath() + u"/skylistener-fuzz-XXXXXX"_s);
    return dir;
}

void checkNumber(const QString& text)
{
    const std::optional<double> value = ParseSettingNumber(text);
    if (!value)
        return;
    check(std::isfinite(*value), "a finite number");
    // What the program stores reads back as a number again.
    check(ParseSettingNumber(FormatSettingNumber(*value)).has_value(), "a stored number");
}

} // namespace

// Qt's warnings about damaged values would flood the fuzzer's own output.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QByteArray& line : bytes.split('\n')) {
        const QString value = QString::fromUtf8(line);
        checkNumber(value);
        checkNumber(QString::fromLatin1(line));
        check(ParseSettingFlag(value) == (value == u"1"_s), "a flag");
    }

    const QString path = folder().filePath(SettingsKeys::Application + u".ini"_s);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(bytes);
    }
    SettingsStore store(folder().path());
    const StartupSettings s = ReadStartupSettings(store, u"/app"_s);
    check(s.volume >= 0 && s.volume <= 100, "volume in range");
    check(std::isfinite(s.height), "finite height");
    check(!s.left || std::isfinite(*s.left), "finite left");
    check(!s.top || std::isfinite(*s.top), "finite top");
    return 0;
}
