#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;

// The small window that shows a slider's value next to its thumb while it is dragged. One tip
// serves every slider of the process: the first update opens it, any slider may close it, and
// the next update opens it again. It shows without taking the focus from the window that has
// it, in the tool-tip colours with a thin raised frame around its text.
class ucSliderTip : public QWidget
{
    Q_OBJECT

public:
    // The open tip, opened now when there is none. `owner` keeps it alive at most as long as
    // itself.
    static ucSliderTip* open(QWidget* owner);
    // The open tip, or nullptr.
    static ucSliderTip* current();
    // Closes and destroys the tip, if one is open.
    static void closeTip();

    // Puts `text` on the label, sized to the text in the tip's font; returns the label's size.
    QSize setTipText(const QString& text);
    // Moves and sizes the tip around a label of `label` size at `place` (screen pixels) and
    // shows it on top of the ordinary windows without activating it.
    void showAt(QPoint place, QSize label);

    QString text() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    explicit ucSliderTip(QWidget* owner);

    QLabel* lblTip = nullptr;
    static QPointer<ucSliderTip> s_tip;
};
