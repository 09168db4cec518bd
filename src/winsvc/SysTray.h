#pragma once

#include "winsvc/TrayActions.h"

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class QTimer;
class QWidget;
class TrayHost;
class frmInternal;

// One icon in the notification area on behalf of a form (the tracked form): it turns the icon's
// mouse actions into events, shows a popup menu, minimises the form to the notification area
// and restores it, and puts the icon back when the notification area has been restarted. It
// takes state in (icon, tip, menu, styles) and gives intents out (its signals); it knows
// nothing of what the form does.
class SysTray : public QObject
{
    Q_OBJECT

public:
    // With the platform's notification area.
    explicit SysTray(QObject* parent = nullptr);
    explicit SysTray(std::unique_ptr<TrayHost> host, QObject* parent = nullptr);
    ~SysTray() override;

    bool Persistent() const;
    void setPersistent(bool on);
    int RestoreFromTrayOn() const { return m_restoreFromTrayOn; }
    void setRestoreFromTrayOn(int actions) { m_restoreFromTrayOn = actions; }
    int TrayFormStyle() const { return m_trayFormStyle; }
    void setTrayFormStyle(int style);
    int PopupStyle() const { return m_popupStyle; }
    void setPopupStyle(int actions) { m_popupStyle = actions; }
    QIcon Icon() const { return m_icon; }
    void setIcon(const QIcon& icon);
    bool Visible() const { return m_shown; }
    // With TrayFormStyle bit 2 the icon goes with a hidden form: the request is replaced by the
    // opposite of the form's visibility, which is also returned.
    bool setVisible(bool visible);
    QWidget* Form() const;
    // nullptr stands for the internal form. A new form empties PopupMenu.
    void setForm(QWidget* form);
    QMenu* PopupMenu() const { return m_popupMenu; }
    void setPopupMenu(QMenu* menu) { m_popupMenu = menu; }
    QString TrayTip() const { return m_trayTip; }
    void setTrayTip(const QString& tip);

    void ShowAbout();
    void FormMinimize();
    void FormRestore();

    TrayHost& Host() const { return *m_host; }
    frmInternal& Internal() const { return *m_internal; }
    QTimer* stTimer() const;

public Q_SLOTS:
    // One tick of the taskbar watch.
    void stTimer_Timer();

Q_SIGNALS:
    void MouseDown(int Button);
    void MouseUp(int Button);
    void MouseMove();
    void Click(int Button);
    void DblClick(int Button);
    void Minimize();
    void Restore();
    void Refreshed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addIcon();
    void removeIcon();
    void handleNotification(int notification);
    void Form_Resize();
    bool formMinimized() const;

    std::unique_ptr<TrayHost> m_host;
    std::unique_ptr<frmInternal> m_internal;
    QPointer<QWidget> m_form;
    QPointer<QMenu> m_popupMenu;
    QIcon m_icon;
    QString m_trayTip;
    QString m_taskbar;
    int m_popupStyle = TrayAction::RightUp;
    int m_restoreFromTrayOn = TrayAction::LeftDouble;
    int m_trayFormStyle = 0;
    Qt::WindowStates m_rememberedState = Qt::WindowNoState;
    bool m_shown = false;
    bool m_changingState = false;
};
