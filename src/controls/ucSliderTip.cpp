#include "controls/ucSliderTip.h"

#include "controls/OleColor.h"
#include "controls/SliderGeometry.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>

using namespace Qt::StringLiterals;

QPointer<ucSliderTip> ucSliderTip::s_tip;

ucSliderTip::ucSliderTip(QWidget* owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
    , lblTip(new QLabel(this))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);

    QFont font(u"Tahoma"_s);
    font.setPointSizeF(8.25);
    setFont(font);

    QPalette palette = lblTip->palette();
    palette.setColor(QPalette::WindowText, OleColorToQColor(OleSystemColor::WindowText));
    lblTip->setPalette(palette);
    lblTip->setAutoFillBackground(false);
    lblTip->setContentsMargins(0, 0, 0, 0);
    lblTip->move(2, 1);
}

ucSliderTip* ucSliderTip::open(QWidget* owner)
{
    if (!s_tip)
        s_tip = new ucSliderTip(owner);
    return s_tip;
}

ucSliderTip* ucSliderTip::current()
{
    return s_tip;
}

void ucSliderTip::closeTip()
{
    if (!s_tip)
        return;
    ucSliderTip* tip = s_tip;
    s_tip = nullptr;
    tip->hide();
    // The owner would delete it later; the tip must be gone now so that the next update
    // starts afresh.
    delete tip;
}

QSize ucSliderTip::setTipText(const QString& text)
{
    const QFontMetrics metrics(font());
    lblTip->resize(metrics.horizontalAdvance(text), metrics.height());
    lblTip->setText(text);
    if (lblTip->isVisible())
        lblTip->repaint();
    return lblTip->size();
}

void ucSliderTip::showAt(QPoint place, QSize label)
{
    setGeometry(QRect(place, SliderGeometry::tipSize(label)));
    show();
    raise();
}

QString ucSliderTip::text() const
{
    return lblTip->text();
}

void ucSliderTip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int w = width();
    const int h = height();
    painter.fillRect(rect(), OleColorToQColor(OleSystemColor::InfoBackground));
    const QColor light = OleColorToQColor(OleSystemColor::Highlight3D);
    const QColor dark = OleColorToQColor(OleSystemColor::DarkShadow3D);
    painter.fillRect(QRect(0, 0, w, 1), light);
    painter.fillRect(QRect(0, 0, 1, h), light);
    painter.fillRect(QRect(w - 1, 0, 1, h), dark);
    painter.fillRect(QRect(0, h - 1, w, 1), dark);
}
