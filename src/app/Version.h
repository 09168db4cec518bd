#pragma once

#include <QString>

// The program's version record, used in the start-up caption and the about box.
namespace Version {

inline constexpr int Major = 0;
inline constexpr int Minor = 1;
inline constexpr int Revision = 12;

inline QString ProductName()
{
    return QStringLiteral("skylistener");
}

// Carries its leading blank: the caption reads "... v.0.1.12 beta".
inline QString FileDescription()
{
    return QStringLiteral(" beta");
}

// "0.1.12"
inline QString Number()
{
    return QStringLiteral("%1.%2.%3").arg(Major).arg(Minor).arg(Revision);
}

// "skylistener v.0.1.12 beta"
inline QString StartupCaption()
{
    return ProductName() + QStringLiteral(" v.") + Number() + FileDescription();
}

} // namespace Version
