#pragma once

#include <QString>

// Every setting key of the program, spelled once, with its default beside it.
namespace SettingsKeys {

inline const QString Application = QStringLiteral("Hollowmere");
inline const QString Section = QStringLiteral("Skylistener");

inline const QString MinTray = QStringLiteral("MinTray");
inline const QString AniIco = QStringLiteral("AniIco");
inline const QString FlagDefault = QStringLiteral("0");

inline const QString Left = QStringLiteral("Left");
inline const QString Top = QStringLiteral("Top");
inline const QString Height = QStringLiteral("Height");
inline constexpr double HeightDefault = 2730; // twips

inline const QString Volume = QStringLiteral("Volume");
inline constexpr int VolumeDefault = 50;

inline const QString StationFile = QStringLiteral("StationFile");
inline const QString StartupListName = QStringLiteral("czech.ksl");
inline const QString SettingsDialogListName = QStringLiteral("stations.ksl");

// Base addresses of the station directory, separated by blanks; empty: the directory's own.
inline const QString DirectoryUrl = QStringLiteral("DirectoryUrl");

// "1": a desktop notification for each new title heard.
inline const QString NotifyTitles = QStringLiteral("NotifyTitles");
// Where recordings go; empty: "skylistener" in the user's music folder.
inline const QString RecordFolder = QStringLiteral("RecordFolder");

} // namespace SettingsKeys
