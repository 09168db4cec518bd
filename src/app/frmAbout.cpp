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

// The dialog is exactly as large as its background picture.
constexpr QSize BackgroundSize{356, 132};
constexpr int ImageSize = 48;
constexpr int TextLeft = 76;

QLabel* makeLabel(const QString& text, const QString& name, int top, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font(u"Tahoma"_s);
    font.setPointSize(8);
    label->setFont(font);
    label->setGeometry(TextLeft, top, BackgroundSize.width() - TextLeft - 8, 18);
    return label;
}

} // namespace

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent)
    , m_background(PictureFile(u"about/background.svg"_s))
{
    setObjectName(u"frmAbout"_s);
    setWindowTitle(u"O programu Hollowmere skylistener..."_s);
    setFixedSize(BackgroundSize);

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

    m_label1 = makeLabel(VersionLine(), u"Label1"_s, 46, this);
    makeLabel(u"© Hollowmere"_s, u"Label2"_s, 68, this);
    makeLabel(u"www.hollowmere.example"_s, u"Label3"_s, 86, this);

    m_command1 = new QPushButton(u"&OK"_s, this);
    m_command1->setObjectName(u"Command1"_s);
    m_command1->setDefault(true);
    m_command1->setGeometry(BackgroundSize.width() - 90, BackgroundSize.height() - 34, 78, 24);
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
