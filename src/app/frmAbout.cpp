#include "app/frmAbout.h"

#include "app/Icons.h"
#include "app/Version.h"
#include "stations/EscapeCloses.h"

#include <QFont>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// The dialog is as large as its background picture, unless a large system font needs more.
constexpr QSize BackgroundSize{356, 132};
constexpr int ImageSize = 48;
constexpr int TextLeft = 76;

// Tahoma in the size of the system's font, so that a larger system font makes the text larger.
QLabel* makeLabel(const QString& text, const QString& name, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    QFont font = parent->font();
    font.setFamily(u"Tahoma"_s);
    label->setFont(font);
    return label;
}

} // namespace

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent)
    , m_background(PictureFile(u"about/background.svg"_s))
{
    setObjectName(u"frmAbout"_s);
    setWindowTitle(u"O programu Hollowmere skylistener..."_s);

    // White behind everything, also where the picture leaves gaps.
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, QColor(0x33, 0x33, 0x33));
    setPalette(white);

    m_image1 = new QLabel(this);
    m_image1->setObjectName(u"Image1"_s);
    m_image1->setGeometry(14, 14, ImageSize, ImageSize);
    m_image1->setPixmap(ApplicationIcon().pixmap(QSize(ImageSize, ImageSize), devicePixelRatio()));
    m_image1->setToolTip(u"Využívá knihovny mpv"_s);
    m_image1->setAccessibleName(u"Ikona programu"_s);

    m_label1 = makeLabel(VersionLine(), u"Label1"_s, this);
    m_command1 = new QPushButton(u"&OK"_s, this);
    m_command1->setObjectName(u"Command1"_s);
    m_command1->setDefault(true);

    // Each line where the picture leaves room for it, or lower and wider when a large font needs
    // it; the box then grows beyond its picture so that the lines stay above the button.
    const int tops[] = {46, 68, 86};
    constexpr int LineHeight = 18, LineWidth = BackgroundSize.width() - TextLeft - 8;
    QLabel* lines[] = {m_label1, makeLabel(u"© Hollowmere"_s, u"Label2"_s, this),
                       makeLabel(u"www.hollowmere.example"_s, u"Label3"_s, this)};
    int bottom = 0, width = LineWidth, heights[3];
    for (int i = 0; i < 3; ++i) {
        const QSize wanted = lines[i]->sizeHint();
        const int top = std::max(tops[i], bottom);
        width = std::max(width, wanted.width());
        heights[i] = std::max(LineHeight, wanted.height());
        lines[i]->move(TextLeft, top);
        bottom = top + heights[i];
    }
    const QSize button(std::max(78, m_command1->sizeHint().width()),
                       std::max(24, m_command1->sizeHint().height()));
    const bool asDrawn = bottom <= tops[2] + LineHeight && width == LineWidth;
    const QSize size = asDrawn ? BackgroundSize
                               : QSize(std::max(BackgroundSize.width(), TextLeft + width + 8),
                                       bottom + 8 + button.height() + 10);
    for (int i = 0; i < 3; ++i)
        lines[i]->resize(width, heights[i]);
    setFixedSize(size);
    m_command1->setGeometry(size.width() - 12 - button.width(),
                            size.height() - 10 - button.height(), button.width(), button.height());
    connect(m_command1, &QPushButton::clicked, this, &frmAbout::Command1_Click);
    new EscapeCloses(*this);
}

QString frmAbout::VersionLine()
{
    return u" Ver.: "_s + Version::Number() + Version::FileDescription();
}

void frmAbout::Command1_Click()
{
    accept();
}

void frmAbout::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    m_background.render(&painter, QRectF(QPointF(0, 0), QSizeF(BackgroundSize)));
    QDialog::paintEvent(event);
}
