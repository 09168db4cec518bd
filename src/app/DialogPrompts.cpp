#include "app/DialogPrompts.h"

#include "app/Version.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

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

namespace {

// Messages name stations, addresses and files, text that is never markup: the box shows it as
// it stands instead of guessing rich text from it.
int ask(QWidget* parent, QMessageBox::Icon icon, const QString& text,
        QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, Version::ProductName(), text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    return box.exec();
}

} // namespace

void DialogPrompts::Exclamation(QWidget* parent, const QString& text)
{
    ask(parent, QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool DialogPrompts::AskYesNo(QWidget* parent, const QString& text)
{
    return ask(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No,
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
    QFileDialog dialog(parent, title, QString(), QtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // A name typed without an extension gets the one of the file type chosen, so that the type
    // chosen is the type written.
    const auto useSuffixOf = [&dialog](const QString& nameFilter) {
        static const QRegularExpression firstPattern(u"\\*\\.(\\w+)"_s);
        dialog.setDefaultSuffix(firstPattern.match(nameFilter).captured(1));
    };
    useSuffixOf(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, useSuffixOf);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString DialogPrompts::OpenFileName(QWidget* parent, const QString& title, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, title, QString(), QtFileFilter(filter));
}
