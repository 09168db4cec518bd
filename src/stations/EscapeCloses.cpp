#include "stations/EscapeCloses.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>

EscapeCloses::EscapeCloses(QDialog& dialog)
    : QObject(&dialog)
    , m_dialog(dialog)
{
    qApp->installEventFilter(this);
}

EscapeCloses::~EscapeCloses()
{
    qApp->removeEventFilter(this);
}

bool EscapeCloses::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier)
        return false;
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (!widget || widget->window() != &m_dialog || !m_dialog.isVisible())
        return false;
    m_dialog.reject();
    return true;
}
