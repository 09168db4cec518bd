#include "winsvc/frmInternal.h"

#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmInternal::frmInternal(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_timer(new QTimer(this))
    , m_label(new QLabel(this))
    , m_ok(new QPushButton(u"&Ok"_s, this))
    , m_popup(std::make_unique<QMenu>(u"Popup"_s))
{
    setObjectName(u"frmInternal"_s);
    setWindowTitle(u"Form1"_s);
    setWindowIcon(defaultIcon());

    m_timer->setObjectName(u"Timer1"_s);
    m_timer->setInterval(1000);

    m_label->setObjectName(u"Label1"_s);
    m_label->setText(u"Tray icon\n\n"
                     "Puts an icon into the notification area for a window,\n"
                     "minimises the window there and brings it back."_s);
    m_ok->setObjectName(u"cmdOK"_s);
    connect(m_ok, &QPushButton::clicked, this, &QWidget::hide);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_ok, 0, Qt::AlignRight);

    m_popup->setObjectName(u"mPopup"_s);
    QAction* about = m_popup->addAction(u"About"_s);
    about->setObjectName(u"mAbout"_s);
    connect(about, &QAction::triggered, this, &QWidget::show);
}

frmInternal::~frmInternal() = default;

QIcon frmInternal::defaultIcon()
{
    // A small loudspeaker with two sound waves, drawn here rather than loaded.
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2d, 0x5f, 0x9e));
    const QPointF speaker[] = {{4, 12}, {10, 12}, {17, 5}, {17, 27}, {10, 20}, {4, 20}};
    p.drawPolygon(speaker, 6);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x2d, 0x5f, 0x9e), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(14, 10, 10, 12), -50 * 16, 100 * 16);
    p.drawArc(QRectF(13, 5, 16, 22), -50 * 16, 100 * 16);
    p.end();
    return QIcon(pixmap);
}
