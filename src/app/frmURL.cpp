#include "app/frmURL.h"

#include "base/Player.h"
#include "stations/EscapeCloses.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmURL::frmURL(Player& player, QWidget* parent)
    : QDialog(parent)
    , m_player(player)
{
    setObjectName(u"frmURL"_s);
    setWindowTitle(u"Vložit URL stanice pro přehrávání"_s);

    auto* label = new QLabel(u"Vložte URL stanice:"_s, this);
    m_txtText1 = new QLineEdit(this);
    m_txtText1->setObjectName(u"txtText1"_s);
    m_txtText1->setMinimumWidth(320);
    label->setBuddy(m_txtText1);

    m_cmdOK = new QPushButton(u"&OK"_s, this);
    m_cmdOK->setObjectName(u"cmdOK"_s);
    m_cmdOK->setDefault(true);
    m_cmdClose = new QPushButton(u"&Zavřít"_s, this);
    m_cmdClose->setObjectName(u"cmdClose"_s);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_txtText1);
    layout->addLayout(buttons);

    connect(m_cmdOK, &QPushButton::clicked, this, &frmURL::cmdOK_Click);
    connect(m_cmdClose, &QPushButton::clicked, this, &frmURL::cmdClose_Click);

    m_txtText1->installEventFilter(this);
    new EscapeCloses(*this);
}

void frmURL::cmdOK_Click()
{
    const QString address = m_txtText1->text();
    if (!address.isEmpty()) {
        // A stream that fails shows in the main window; the dialog closes all the same.
        m_player.setURL(address);
        m_player.play();
    }
    accept();
}

void frmURL::cmdClose_Click()
{
    reject();
}

bool frmURL::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_txtText1 && event->type() == QEvent::FocusIn) {
        // Deferred: a mouse click that brings the focus would otherwise place the cursor and
        // drop the selection straight away.
        QTimer::singleShot(0, m_txtText1, &QLineEdit::selectAll);
    }
    return QDialog::eventFilter(watched, event);
}

void frmURL::showEvent(QShowEvent* event)
{
    // Nothing typed survives to the next opening, even when the same dialog is shown again; a
    // window restored by the desktop keeps its text.
    if (!event->spontaneous()) {
        m_txtText1->clear();
        m_txtText1->setFocus();
    }
    QDialog::showEvent(event);
}
