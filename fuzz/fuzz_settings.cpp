// The settings read at start-up: the input is the settings file as it lies on disk, read through
// a fresh store as the next start of the program would; the values also go straight through the
// number and flag conversions.
#include "FuzzSupport.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"
#include "stations/SettingsStore.h"

#include <QFile>

#include <cmath>
#include <cstdint>

using namespace Qt::StringLiterals;

namespace {

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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QByteArray& line : bytes.split('\n')) {
        const QString value = QString::fromUtf8(line);
        checkNumber(value);
        checkNumber(QString::fromLatin1(line));
        check(ParseSettingFlag(value) == (value == u"1"_s), "a flag");
    }

    const QString path = fuzzFolder().filePath(SettingsKeys::Application + u".ini"_s);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(bytes);
    }
    SettingsStore store(fuzzFolder().path());
    const StartupSettings s = ReadStartupSettings(store, u"/app"_s);
    check(s.volume >= 0 && s.volume <= 100, "volume in range");
    check(std::isfinite(s.height), "finite height");
    check(!s.left || std::isfinite(*s.left), "finite left");
    check(!s.top || std::isfinite(*s.top), "finite top");
    return 0;
}
