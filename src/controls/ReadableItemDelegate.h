#pragma once

#include <QStyledItemDelegate>

class QAbstractItemView;

// Draws a list's items in their own text colours, except that while the list has the keyboard
// a colour too close to the list's background gives way to the palette's text colour: a yellow
// station on a white list, or a dark one under a dark high-contrast palette, can then be read.
class ReadableItemDelegate final : public QStyledItemDelegate
{
public:
    // Draws the items of `view` and repaints them when it gains or loses the keyboard.
    explicit ReadableItemDelegate(QAbstractItemView& view);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractItemView& m_view;
};

// The contrast of two colours as accessibility guidelines count it: from 1 (the same luminance)
// to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// Below this, text vanishes into its background (yellow, cyan or light grey on white). It is far
// below what the guidelines ask of body text, so that a colour chosen to be light stays light.
inline constexpr double MinimumContrast = 2.0;
