#pragma once

#include <QString>

// The words the program uses for what the player does: the player's status line, and the main
// window and the media service where they speak of the same things. Errors start "Chyba: ".
namespace StatusText {

QString Connecting();                           // Připojování…
QString Reconnecting();                         // Obnovování spojení…
QString ReconnectingIn(int seconds);            // Obnovování spojení… (další pokus za 4 s)
QString Loading();                              // Načítání…
QString LoadingPercent(int percent);            // Načítání 40 %
QString Playing();                              // Přehrávání
QString PlayingWithTitle(const QString& title); // Přehrávání: title; Přehrávání without a title
QString Stopped();                              // Zastaveno

// Errors of the address or the playlist, before or while a stream opens.
QString PlayerUnavailable();
QString AddressTooLong();
QString AddressInvalid();
QString AddressRefused(const QString& scheme);
QString PlaylistTooDeep();
QString PlaylistEmpty();

// Errors of the station.
QString ConnectionLost();
QString CertificateUntrusted();
QString CertificateWrongHost();
QString OpenFailed();
QString UnknownFormat();
QString NoAudio();
QString AudioOutputFailed();
QString UnsupportedFormat();
QString PlaybackFailed(const QString& reason);

} // namespace StatusText
