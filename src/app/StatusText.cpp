#include "app/StatusText.h"

using namespace Qt::StringLiterals;

namespace StatusText {

QString Connecting()
{
    return u"Připojování…"_s;
}

QString Reconnecting()
{
    return u"Obnovování spojení…"_s;
}

QString ReconnectingIn(int seconds)
{
    return u"%1 (další pokus za %2 s)"_s.arg(Reconnecting()).arg(seconds);
}

QString Loading()
{
    return u"Načítání…"_s;
}

QString LoadingPercent(int percent)
{
    return u"Načítání %1 %"_s.arg(percent);
}

QString Playing()
{
    return u"Přehrávání"_s;
}

QString PlayingWithTitle(const QString& title)
{
    return title.isEmpty() ? Playing() : Playing() + u": "_s + title;
}

QString Stopped()
{
    return u"Zastaveno"_s;
}

QString PlayerUnavailable()
{
    return u"Chyba: přehrávač se nepodařilo spustit"_s;
}

QString AddressTooLong()
{
    return u"Chyba: adresa je příliš dlouhá"_s;
}

QString AddressInvalid()
{
    return u"Chyba: adresa obsahuje neplatné znaky"_s;
}

QString AddressRefused(const QString& scheme)
{
    return u"Chyba: nepodporovaný typ adresy (%1)"_s.arg(scheme);
}

QString PlaylistTooDeep()
{
    return u"Chyba: příliš mnoho vnořených seznamů stanic"_s;
}

QString PlaylistEmpty()
{
    return u"Chyba: seznam stanic nenabízí žádné vysílání"_s;
}

QString ConnectionLost()
{
    return u"Chyba: spojení se stanicí bylo přerušeno"_s;
}

QString CertificateUntrusted()
{
    return u"Chyba: certifikát serveru není důvěryhodný"_s;
}

QString CertificateWrongHost()
{
    return u"Chyba: certifikát serveru nepatří této adrese"_s;
}

QString OpenFailed()
{
    return u"Chyba: stanici se nepodařilo otevřít"_s;
}

QString UnknownFormat()
{
    return u"Chyba: neznámý formát vysílání"_s;
}

QString NoAudio()
{
    return u"Chyba: vysílání neobsahuje zvuk"_s;
}

QString AudioOutputFailed()
{
    return u"Chyba: zvukový výstup se nepodařilo otevřít"_s;
}

QString UnsupportedFormat()
{
    return u"Chyba: nepodporovaný formát"_s;
}

QString PlaybackFailed(const QString& reason)
{
    return u"Chyba: přehrávání selhalo (%1)"_s.arg(reason);
}

} // namespace StatusText
