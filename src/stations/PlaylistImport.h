#pragma once

#include "stations/StationAdd.h"

#include <QString>

// Importing a playlist file of another player into the current list: its stations are added as
// the editor adds one (visible, not bold, black), an entry without a name named by its address,
// and only web addresses are taken.

// Adds the file's stations to the file named by StationFilePath(); the Czech message telling how
// many were added and why the others were skipped, or why none could be.
QString ImportPlaylistFile(const QString& path);

// "Přidáno 12 stanic, přeskočeno 3 (2 již v seznamu, 1 neplatná adresa)."
QString ImportSummaryText(const StationBatchAdd& outcome);
