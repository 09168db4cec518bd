#include "winsvc/SysTray.h"

#include "winsvc/TrayHost.h"
#include "winsvc/frmInternal.h"

#include <QEvent>
#include <QMenu>
#include <QScopedValueRollback>
#include <QTimer>
#include <QWidget>

namespace {

// A platform that refuses to restore the window must not hang the program.
constexpr int RestoreTries = 10;

} // namespace

SysTray::SysTray(QObject* parent)
    : SysTray(std::make_unique<QtTrayHost>(), parent)
{}

SysTray::SysTray(std::unique_ptr<TrayHost> host, QObject* parent)
    : QObject(parent)
    , m_host(std::move(host))
    , m_internal(std::make_unique<frmInternal>())
{
    m_taskbar = m_host->hostIdentity();
    m_icon = m_internal->windowIcon();
    setForm(nullptr);
    m_popupMenu = m_internal->mPopup();
    connect(m_host.get(), &TrayHost::mouseAction, this, &SysTray::handleNotification);
    connect(m_internal->Timer1(), &QTimer::timeout, this, &SysTray::stTimer_Timer);
    setPersistent(true);
}

SysTray::~SysTray()
{
    removeIcon();
    if (m_form)
        m_form->removeEventFilter(this);
}

QTimer* SysTray::stTimer() const
{
    return m_internal->Timer1();
}

bool SysTray::Persistent() const
{
    return stTimer()->isActive();
}

void SysTray::setPersistent(bool on)
{
    stTimer()->setInterval(1000);
    if (on)
        stTimer()->start();
    else
        stTimer()->stop();
}

QWidget* SysTray::Form() const
{
    return m_form ? m_form.data() : m_internal.get();
}

bool SysTray::formMinimized() const
{
    return Form()->isMinimized();
}

void SysTray::setForm(QWidget* form)
{
    QWidget* next = form ? form : m_internal.get();
    if (m_form == next)
        return;
    if (m_form)
        m_form->removeEventFilter(this);
    m_form = next;
    m_form->installEventFilter(this);
    m_popupMenu = nullptr;
    m_rememberedState = next->windowState() & ~Qt::WindowMinimized;
}

void SysTray::setTrayFormStyle(int style)
{
    m_trayFormStyle = style;
    if ((style & TrayFormStyleBits::IconWithMinimizedForm) && Form()->isVisible())
        removeIcon();
}

void SysTray::setIcon(const QIcon& icon)
{
    m_icon = icon;
    if (m_shown)
        m_host->changeIcon(m_icon);
}

void SysTray::setTrayTip(const QString& tip)
{
    m_trayTip = tip;
    if (m_shown)
        m_host->changeTip(trayTipText(m_trayTip));
}

bool SysTray::setVisible(bool visible)
{
    if (m_trayFormStyle & TrayFormStyleBits::IconWithMinimizedForm)
        visible = !Form()->isVisible();
    if (visible != m_shown) {
        if (visible)
            addIcon();
        else
            removeIcon();
    }
    return visible;
}

void SysTray::addIcon()
{
    m_host->addIcon(m_icon, trayTipText(m_trayTip));
    m_shown = true;
}

void SysTray::removeIcon()
{
    if (!m_shown)
        return;
    m_host->removeIcon();
    m_shown = false;
}

void SysTray::ShowAbout()
{
    m_internal->show();
}

void SysTray::FormMinimize()
{
    QWidget* form = Form();
    if (!form->isMinimized()) {
        const QScopedValueRollback guard(m_changingState, true);
        form->setWindowState(form->windowState() | Qt::WindowMinimized);
    }
    // Without a notification area a hidden window could never be reached again.
    if ((m_trayFormStyle & TrayFormStyleBits::HideWhenMinimized) && m_host->isAvailable())
        form->hide();
    if ((m_trayFormStyle & TrayFormStyleBits::IconWithMinimizedForm) && !m_shown)
        addIcon();
    Q_EMIT Minimize();
}

void SysTray::FormRestore()
{
    QWidget* form = Form();
    {
        const QScopedValueRollback guard(m_changingState, true);
        for (int i = 0; i < RestoreTries && form->isMinimized(); ++i) {
            form->show();
            form->setWindowState(m_rememberedState & ~Qt::WindowMinimized);
        }
    }
    form->show();
    form->raise();
    form->activateWindow();
    form->setFocus();
    if ((m_trayFormStyle & TrayFormStyleBits::IconWithMinimizedForm) && m_shown)
        removeIcon();
    Q_EMIT Restore();
}

void SysTray::Form_Resize()
{
    QWidget* form = Form();
    if (!form->isMinimized()) {
        if (form->isHidden())
            form->show();
        m_rememberedState = form->windowState();
    } else {
        FormMinimize();
    }
}

bool SysTray::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_form && event->type() == QEvent::WindowStateChange && !m_changingState) {
        // Taken up once the state change is over: hiding a window in the middle of its own
        // state change confuses some window managers.
        QMetaObject::invokeMethod(
            this,
            [this, form = m_form] {
                if (form && form == m_form)
                    Form_Resize();
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void SysTray::handleNotification(int notification)
{
    if (!m_popupMenu)
        m_popupStyle = 0;
    const TrayPlan plan =
        planTrayNotification(notification, m_popupStyle, m_restoreFromTrayOn, formMinimized());
    for (const TrayStep step : plan.steps) {
        switch (step) {
        case TrayStep::Restore:
            FormRestore();
            break;
        case TrayStep::RaiseMouseMove:
            Q_EMIT MouseMove();
            break;
        case TrayStep::RaiseMouseDown:
            Q_EMIT MouseDown(plan.button);
            break;
        case TrayStep::RaiseMouseUp:
            Q_EMIT MouseUp(plan.button);
            break;
        case TrayStep::RaiseClick:
            Q_EMIT Click(plan.button);
            break;
        case TrayStep::RaiseDblClick:
            Q_EMIT DblClick(plan.button);
            break;
        case TrayStep::ShowMenu:
            if (m_popupMenu)
                m_host->showMenu(m_popupMenu);
            break;
        }
    }
}

void SysTray::stTimer_Timer()
{
    const QString host = m_host->hostIdentity();
    if (host != m_taskbar && !host.isEmpty() && m_shown) {
        removeIcon();
        addIcon();
        Q_EMIT Refreshed();
    }
    m_taskbar = host;
}
