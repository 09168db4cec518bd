#include "stations/ProgramSettings.h"

#include "base/AppFolder.h"
#include "stations/SettingsKeys.h"

#include <QDir>
#include <QLocale>

#include <cmath>

using namespace Qt::StringLiterals;

QString GetSetting(const SettingsStore& store, const QString& key, const QString& defaultText)
{
    return store.get(SettingsKeys::Application, SettingsKeys::Section, key, defaultText);
}

void SaveSetting(SettingsStore& store, const QString& key, const QString& text)
{
    store.save(SettingsKeys::Application, SettingsKeys::Section, key, text);
}

bool WriteSettingsNow(SettingsStore& store, QString* errorMessage)
{
    const bool ok = store.sync();
    if (!ok && errorMessage)
        *errorMessage = SettingsWriteErrorMessage(store.location(SettingsKeys::Application));
    return ok;
}

QString SettingsWriteErrorMessage(const QString& path)
{
    return u"Nastavení se nepodařilo uložit do souboru \"%1\". "
           u"Soubor zůstal beze změny."_s.arg(QDir::toNativeSeparators(path));
}

std::optional<double> ParseSettingNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    double value = QLocale::system().toDouble(trimmed, &ok);
    if (!ok)
        value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString FormatSettingNumber(double value)
{
    if (value == std::floor(value) && std::abs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    return QLocale::system().toString(value, 'g', 7);
}

bool ParseSettingFlag(const QString& text)
{
    return text == u"1";
}

StartupSettings ReadStartupSettings(const SettingsStore& store, const QString& applicationFolder)
{
    using namespace SettingsKeys;
    StartupSettings s;
    s.animateTrayIcon = ParseSettingFlag(GetSetting(store, AniIco, FlagDefault));
    s.minimizeToTray = ParseSettingFlag(GetSetting(store, MinTray, FlagDefault));
    // An absent key and a damaged one both mean "use the default".
    s.left = ParseSettingNumber(GetSetting(store, Left, QString()));
    s.top = ParseSettingNumber(GetSetting(store, Top, QString()));
    s.height = ParseSettingNumber(GetSetting(store, Height, FormatSettingNumber(HeightDefault)))
                   .value_or(HeightDefault);
    const double volume =
        ParseSettingNumber(GetSetting(store, Volume, QString::number(VolumeDefault)))
            .value_or(VolumeDefault);
    // Whole numbers round halves to even; the player only takes 0 to 100.
    s.volume = static_cast<int>(std::clamp(std::nearbyint(volume), 0.0, 100.0));
    s.stationFile =
        GetSetting(store, StationFile, AddTrailingBackslash(applicationFolder) + StartupListName);
    return s;
}

void SaveExitSettings(SettingsStore& store, const ExitSettings& values)
{
    using namespace SettingsKeys;
    SaveSetting(store, Left, FormatSettingNumber(values.left));
    SaveSetting(store, Top, FormatSettingNumber(values.top));
    SaveSetting(store, Height, FormatSettingNumber(values.height));
    SaveSetting(store, Volume, QString::number(values.volume));
    SaveSetting(store, StationFile, values.stationFile);
    store.sync();
}
