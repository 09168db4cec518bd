#pragma once

#include <QWidget>

// An etched separator: a dark line with a light line beside it. It lies horizontally when it
// is wider than high and vertically otherwise (a square one too), and keeps itself 30 twips
// thick across its length.
class z3DLine : public QWidget
{
    Q_OBJECT

public:
    explicit z3DLine(QWidget* parent = nullptr);

    bool isHorizontal() const { return m_horizontal; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool m_horizontal = true;
};
