#pragma once

#include <QtCore>

// A local https station: `openssl s_server` on a free loopback port serving a 440 Hz MP3 tone as
// /tone.mp3, with a throwaway certificate made for it. A start that fails says why in error().
class TlsStation
{
public:
    ~TlsStation();

    // The certificate names 127.0.0.1 and localhost, or only `certifiedHost`; it is self-signed,
    // or with `withPrivateCa` signed by a throwaway authority (caFile()) no system trusts.
    bool start(bool withPrivateCa, const QString& certifiedHost = {});

    QString url() const { return QStringLiteral("https://127.0.0.1:%1/tone.mp3").arg(m_port); }
    // The throwaway authority's certificate as PEM; empty for a self-signed station.
    QString caFile() const { return m_caFile; }
    QString error() const { return m_error; }

private:
    bool run(const QString& program, const QStringList& arguments);
    bool fail(const QString& why) { return m_error = why, false; }

    QTemporaryDir m_dir;
    quint16 m_port = 0;
    QString m_caFile, m_error;
    QProcess m_server;
};
