#include "app/Recorder.h"

#include "app/RecordFileName.h"
#include "base/Player.h"

#include <QDateTime>
#include <QDir>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

Recorder::Recorder(Player& player, QObject* parent)
    : QObject(parent)
    , m_player(player)
{
    connect(&m_player, &Player::PlayStateChange, this, &Recorder::playStateChanged);
    // A new title starts a new file, named by it.
    connect(&m_player, &Player::StreamTitleChange, this, [this] {
        if (m_recording && !m_file.isEmpty() && m_player.streamTitle() != m_title &&
            !m_player.streamTitle().isEmpty())
            openFile();
    });
    connect(&m_player, &Player::RecordFailed, this,
            [this] { end(folderMessage(QDir::toNativeSeparators(m_folder))); });
}

Recorder::~Recorder()
{
    stop();
}

QString Recorder::folderMessage(const QString& folder)
{
    return u"Do složky %1 nelze nahrávat: nedá se do ní zapisovat, nebo je disk plný. "
           u"Nahrávání skončilo, přehrávání pokračuje."_s.arg(folder);
}

bool Recorder::start(const QString& folder, const QString& station)
{
    m_error.clear();
    if (m_player.playState() != Player::Playing) {
        m_error = u"Nahrávat lze jen stanici, která právě hraje."_s;
        return false;
    }
    // Whether the folder takes files is known before the player tries: a file made and removed.
    QTemporaryFile probe(QDir(folder).filePath(u".skylistener-XXXXXX"_s));
    if (!QDir().mkpath(folder) || !probe.open()) {
        m_error = folderMessage(QDir::toNativeSeparators(folder));
        return false;
    }
    probe.close();
    m_recording = true;
    m_folder = folder;
    m_station = station;
    m_url = m_player.URL();
    openFile();
    return true;
}

void Recorder::stop()
{
    if (!m_recording)
        return;
    m_recording = false;
    m_file.clear();
    m_player.setRecordFile(QString());
}

void Recorder::end(const QString& message)
{
    if (!m_recording)
        return;
    stop();
    Q_EMIT Ended(message);
}

void Recorder::openFile()
{
    m_title = m_player.streamTitle();
    const QString name =
        RecordFileName::compose(m_station, QDateTime::currentDateTime(), m_title,
                                RecordFileName::extensionFor(m_player.streamCodec()));
    m_file = RecordFileName::unusedPath(m_folder, name);
    m_player.setRecordFile(m_file);
}

void Recorder::playStateChanged(int state)
{
    if (!m_recording)
        return;
    // Another station, a stop or an error ends the recording.
    if (m_player.URL() != m_url || state == Player::Stopped || state == Player::Error ||
        state == Player::Undefined) {
        end(QString());
        return;
    }
    // mpv opens a dropped stream anew and would start the file over: the file ends here, and
    // the next one begins when the stream is back.
    if (state == Player::Reconnecting || state == Player::Connecting) {
        if (!m_file.isEmpty())
            m_player.setRecordFile(QString());
        m_file.clear();
    } else if (state == Player::Playing && m_file.isEmpty()) {
        openFile();
    }
}
