#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

#include <optional>
#include <utility>

// Desktop notifications of new titles through the notification server of the session bus
// (org.freedesktop.Notifications): the station's name as the summary, the title as the body,
// the program's icon. One notification is replaced in place rather than stacked. Calls never
// wait: without a bus or a server nothing happens.
class TitleNotifier : public QObject
{
    Q_OBJECT

public:
    explicit TitleNotifier(QObject* parent = nullptr);
    ~TitleNotifier() override;

    void notify(const QString& station, const QString& title);

private:
    void send(const QString& station, const QString& title);

    // The server's id of the notification shown last; 0 before the first.
    uint m_id = 0;
    // While the server has not yet answered with an id, newer titles wait here, only the last
    // of them kept: sent at once they would stack rather than replace.
    bool m_waiting = false;
    std::optional<std::pair<QString, QString>> m_next;
    // The icon as the server gets it, drawn for the first notification.
    QVariant m_icon;
};
