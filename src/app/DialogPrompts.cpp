#include "app/DialogPrompts.h"

#include "app/Version.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

using namespace Qt::StringLiterals;

QString QtFileFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(u';', u' ');
        out.append(description.contains(patterns) ? description
                                                  : description + u" ("_s + patterns + u')');
    }
    return out.join(u";;"_s);
}

void DialogPrompts::Exclamation(QWidget* parent, const QString& text)
{
    QMessageBox::warning(parent, Version::ProductName(), text, QMessageBox::Ok);
}

bool DialogPrompts::AskYesNo(QWidget* parent, const QString& text)
{
    return QMessageBox::question(parent, Version::ProductName(), text,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

std::optional<QColor> DialogPrompts::ChooseColor(QWidget* parent, const QColor& initial)
{
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

QString DialogPrompts::SaveFileName(QWidget* parent, const QString& title, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, title, QString(), QtFileFilter(filter), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString DialogPrompts::OpenFileName(QWidget* parent, const QString& title, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, title, QString(), QtFileFilter(filter));
}
