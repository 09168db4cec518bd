#pragma once

#include "stations/SettingsStore.h"

#include <optional>

// Reading and writing the program's own keys in the store, with their conversions. Reads and
// writes happen in the orders the program has always used, so that a store shared by two
// copies of the program behaves the same.

// What the main window reads at start-up, in the order "AniIco", "MinTray", "Left", "Top",
// "Height", "Volume", "StationFile". Left and Top are empty when absent or not a number (the
// window is then centred); Height and Volume fall back to their defaults.
struct StartupSettings
{
    bool animateTrayIcon = false;
    bool minimizeToTray = false;
    std::optional<double> left;
    std::optional<double> top;
    double height = 0;
    int volume = 0;
    QString stationFile;
};

StartupSettings ReadStartupSettings(const SettingsStore& store, const QString& applicationFolder);

// What the main window stores when it closes, in the order "Left", "Top", "Height", "Volume",
// "StationFile". Geometry in twips.
struct ExitSettings
{
    double left = 0;
    double top = 0;
    double height = 0;
    int volume = 0;
    QString stationFile;
};

void SaveExitSettings(SettingsStore& store, const ExitSettings& values);

// Shorthands for the program's application and section.
QString GetSetting(const SettingsStore& store, const QString& key, const QString& defaultText);
void SaveSetting(SettingsStore& store, const QString& key, const QString& text);

// Writes the store to disk now, so that a second running copy of the program sees the values.
// On failure the old file stays whole, false is returned and `errorMessage` holds a Czech
// message naming the file.
[[nodiscard]] bool WriteSettingsNow(SettingsStore& store, QString* errorMessage);

// The message shown when the settings file cannot be written.
QString SettingsWriteErrorMessage(const QString& path);

// A stored number in the user's or the C number format, blanks around it allowed; empty when
// the text is not a finite number.
std::optional<double> ParseSettingNumber(const QString& text);

// A number as stored: whole numbers without a decimal part.
QString FormatSettingNumber(double value);

// A stored "0"/"1" flag: true exactly for "1".
bool ParseSettingFlag(const QString& text);
