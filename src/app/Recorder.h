#pragma once

#include <QObject>
#include <QString>

class Player;

// Records the station that plays into a folder, a file for each title it sends (named by the
// station, the time and the title). It follows the player: a reconnection ends the file and the
// stream's return starts the next one; a stop, an error or another station ends the recording.
class Recorder : public QObject
{
    Q_OBJECT

public:
    explicit Recorder(Player& player, QObject* parent = nullptr);
    ~Recorder() override;

    // Starts recording `station` (what the player plays) into `folder`, made when missing;
    // false, with a Czech message in error(), when nothing plays or the folder takes no files.
    bool start(const QString& folder, const QString& station);
    // Ends the recording; the file written last is complete.
    void stop();

    bool isRecording() const { return m_recording; }
    QString currentFile() const { return m_file; }
    QString error() const { return m_error; }

    // The message for a folder that takes no files, or a disk that is full.
    static QString folderMessage(const QString& folder);

Q_SIGNALS:
    // The recording ended by itself: playback stopped or moved on, or the file could not be
    // written (then `message` says so in Czech; else it is empty).
    void Ended(const QString& message);

private:
    void openFile();
    void end(const QString& message);
    void playStateChanged(int state);

    Player& m_player;
    bool m_recording = false;
    QString m_folder, m_station, m_url, m_file, m_title, m_error;
};
