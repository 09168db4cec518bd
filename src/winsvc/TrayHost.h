#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

class QMenu;
class QSystemTrayIcon;

// The notification area as the tray icon sees it: one icon with a tip that can be added,
// changed and removed, a popup menu shown at the pointer, the identity of whoever runs the area
// now (it changes when that is restarted), and the icon's mouse actions, reported with the
// platform's mouse message numbers (TrayNotify). Production: QtTrayHost; tests: a fake.
class TrayHost : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual void addIcon(const QIcon& icon, const QString& tip) = 0;
    virtual void changeIcon(const QIcon& icon) = 0;
    virtual void changeTip(const QString& tip) = 0;
    virtual void removeIcon() = 0;
    virtual void showMenu(QMenu* menu) = 0;
    // Empty while there is no notification area.
    virtual QString hostIdentity() const = 0;
    virtual bool isAvailable() const = 0;

Q_SIGNALS:
    void mouseAction(int notification);
};

// The tip as the notification area is given it. The tip holds station names and stream titles,
// text that is never markup: a StatusNotifier host reads its tip as markup, so it gets the text
// escaped; an XEmbed icon shows it in a Qt tool tip, which guesses rich text from the text
// itself, so it gets the text as a paragraph of rich text that reads as the plain text did.
QString TrayTipMarkup(const QString& tip, bool statusNotifier);

// The notification area through QSystemTrayIcon. Qt reports clicks, not button presses and
// releases, so a click becomes a button-down and a button-up notification, a double click a
// double-click notification and a context request a right button down and up. A StatusNotifier
// host reports no double clicks: there its activation is a click followed by a double click.
class QtTrayHost : public TrayHost
{
    Q_OBJECT

public:
    explicit QtTrayHost(QObject* parent = nullptr);
    ~QtTrayHost() override;

    void addIcon(const QIcon& icon, const QString& tip) override;
    void changeIcon(const QIcon& icon) override;
    void changeTip(const QString& tip) override;
    void removeIcon() override;
    void showMenu(QMenu* menu) override;
    QString hostIdentity() const override;
    bool isAvailable() const override;

private:
    QSystemTrayIcon* m_icon = nullptr;
    bool m_statusNotifier = false;
    // Who owns the status-notifier watcher's bus name, kept up to date by the bus's own
    // notices, so that the tray's once-a-second look at the host asks nobody.
    QString m_watcherOwner;
};
