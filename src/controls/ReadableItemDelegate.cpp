#include "controls/ReadableItemDelegate.h"

#include <QAbstractItemView>
#include <QEvent>

#include <algorithm>
#include <cmath>

namespace {

double luminance(const QColor& colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double first = luminance(a), second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

ReadableItemDelegate::ReadableItemDelegate(QAbstractItemView& view)
    : QStyledItemDelegate(&view)
    , m_view(view)
{
    view.installEventFilter(this);
}

void ReadableItemDelegate::initStyleOption(QStyleOptionViewItem* option,
                                           const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!m_view.hasFocus())
        return;
    const QColor background = option->backgroundBrush.style() == Qt::NoBrush
                                  ? option->palette.color(QPalette::Base)
                                  : option->backgroundBrush.color();
    if (ContrastRatio(option->palette.color(QPalette::Text), background) < MinimumContrast)
        option->palette.setColor(QPalette::Text, m_view.palette().color(QPalette::Text));
}

bool ReadableItemDelegate::eventFilter(QObject* watched, QEvent* event)
{
    // The view is no editor: the base class would take its Tab and Enter as an editor's.
    if (watched != &m_view)
        return QStyledItemDelegate::eventFilter(watched, event);
    // A view destroyed with the keyboard loses it in ~QWidget, when it is no longer a view.
    const auto* view = qobject_cast<QAbstractItemView*>(watched);
    if (view && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        view->viewport()->update();
    return false;
}
