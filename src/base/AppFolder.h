#pragma once

#include <QString>

// The path with a separator appended, unless it is empty or already ends with one. Either
// separator counts as present ("C:\" stays as it is); the native one is appended.
QString AddTrailingBackslash(const QString& path);

// The application's folder, where station lists live: the executable's folder when it is
// writable (a portable copy), otherwise the per-user data folder, created when missing. A folder
// without the default list "czech.ksl" is given a copy of `seedList` when one is named (the
// program names it on its first start only).
QString ApplicationFolder(const QString& seedList = QString());

// The same choice for a given executable folder and per-user folder.
QString ChooseApplicationFolder(const QString& executableFolder, const QString& userFolder,
                                const QString& seedList);
