#pragma once

#include <QWidget>

#include <memory>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;

// The tray icon's own hidden form: it is the tracked form until another is assigned and supplies
// the default icon, the default popup menu (with an About item), the timer of the taskbar watch
// and a small about box (itself, shown modelessly).
class frmInternal : public QWidget
{
    Q_OBJECT

public:
    explicit frmInternal(QWidget* parent = nullptr);
    ~frmInternal() override;

    QTimer* Timer1() const { return m_timer; }
    QMenu* mPopup() const { return m_popup.get(); }
    QLabel* Label1() const { return m_label; }
    QPushButton* cmdOK() const { return m_ok; }

    // The icon the tray shows until it is given another one.
    static QIcon defaultIcon();

private:
    QTimer* m_timer = nullptr;
    QLabel* m_label = nullptr;
    QPushButton* m_ok = nullptr;
    std::unique_ptr<QMenu> m_popup; // a menu of its own: a hidden form is no parent for a popup
};
