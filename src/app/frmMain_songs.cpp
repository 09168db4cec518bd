// The main window's side of the songs heard: each new title goes into the history and, when
// asked for, into a desktop notification; the recording follows the menu and the player.
#include "app/frmMain.h"

#include "app/Recorder.h"
#include "base/Player.h"
#include "base/UserPrompts.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"
#include "stations/TitleHistory.h"
#include "stations/frmHistory.h"

#ifdef SKYLISTENER_MPRIS
#include "app/TitleNotifier.h"
#endif

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

void frmMain::connectSongs()
{
    QString historyFile = m_services.historyFile;
    if (historyFile.isEmpty())
        historyFile = QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
                          .filePath(u"historie.txt"_s);
    m_history = std::make_unique<TitleHistory>(historyFile);
#ifdef SKYLISTENER_MPRIS
    m_notifier = new TitleNotifier(this);
#endif
    m_mnuOznamovat->setChecked(ParseSettingFlag(
        GetSetting(m_services.settings, SettingsKeys::NotifyTitles, SettingsKeys::FlagDefault)));

    m_recorder = std::make_unique<Recorder>(*m_player);
    connect(m_recorder.get(), &Recorder::Ended, this, &frmMain::recordingEnded);
    connect(m_player.get(), &Player::StreamTitleChange, this, &frmMain::wmp_StreamTitleChange);
}

QString frmMain::songsStationName() const
{
    // A station that is not in the list (an address opened or found) goes by its address.
    return m_playingStation ? m_playingStation->name : m_player->URL();
}

void frmMain::wmp_StreamTitleChange()
{
    const QString station = songsStationName();
    const QString title = m_player->streamTitle();
    const bool added = m_history->add(QDateTime::currentDateTime(), station, title);
    if (const QString problem = m_history->takeProblem(); !problem.isEmpty())
        m_services.prompts.Exclamation(this, problem);
    // Who looks at the window sees the title already.
    if (added && m_notifier && m_mnuOznamovat->isChecked() && !(isVisible() && isActiveWindow()))
        m_notifier->notify(station, title);
}

void frmMain::mnuHistorie_Click()
{
    frmHistory dialog(*m_history, m_services.prompts, this);
    if (const QString problem = m_history->takeProblem(); !problem.isEmpty())
        m_services.prompts.Exclamation(this, problem);
    dialog.exec();
}

void frmMain::mnuOznamovat_Click()
{
    SaveSetting(m_services.settings, SettingsKeys::NotifyTitles,
                m_mnuOznamovat->isChecked() ? u"1"_s : u"0"_s);
}

void frmMain::mnuNahravat_Click()
{
    // The action has toggled its check mark already; it shows the recorder's state instead.
    if (!m_mnuNahravat->isChecked()) {
        m_recorder->stop();
        showRecording(false);
        return;
    }
    QString folder = GetSetting(m_services.settings, SettingsKeys::RecordFolder, QString());
    if (folder.trimmed().isEmpty())
        folder = QDir(QStandardPaths::writableLocation(QStandardPaths::MusicLocation))
                     .filePath(u"skylistener"_s);
    const QString station = songsStationName();
    const bool started = m_recorder->start(folder, station);
    showRecording(started);
    if (!started)
        m_services.prompts.Exclamation(this, m_recorder->error());
}

void frmMain::recordingEnded(const QString& message)
{
    showRecording(false);
    if (!message.isEmpty())
        m_services.prompts.Exclamation(this, message);
}

void frmMain::showRecording(bool recording)
{
    m_mnuNahravat->setChecked(recording);
    m_recordPanel->setVisible(recording);
}
