#pragma once

#include <QtWidgets>

// Controls under `root` a person reads or operates but an assistive tool could not name, as
// "objectName (class)", and buttons with a caption but no access key, "objectName (no access key)".
inline QStringList NamelessControls(const QWidget* root)
{
    QStringList nameless;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        const auto* label = qobject_cast<QLabel*>(w);
        const bool grouping = w->inherits("Container3D");
        const bool operated = grouping || qobject_cast<QAbstractButton*>(w) ||
                              qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                              qobject_cast<QAbstractItemView*>(w) ||
                              qobject_cast<QAbstractSlider*>(w) || w->focusPolicy() != Qt::NoFocus;
        const bool read = label && !label->text().isEmpty();
        // Qt's parts of a widget (scroll bars, viewports, a list's header) are named by the widget.
        bool part = w->inherits("QHeaderView");
        for (const QWidget* p = w; p && p != root; p = p->parentWidget())
            part = part || p->objectName().startsWith(QStringLiteral("qt_"));
        if (!w->isVisibleTo(root->window()) || !(operated || read) || part)
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(w);
        if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty() ||
            accessible->role() == (grouping ? QAccessible::Client : QAccessible::NoRole))
            nameless.append(w->objectName() + QStringLiteral(" (") +
                            QString::fromLatin1(w->metaObject()->className()) + u')');
        // A command with a word for a caption is reached by its access key too (a toolbar's
        // commands are in the menus).
        const auto* button = qobject_cast<QAbstractButton*>(w);
        const QString caption = button && !w->inherits("QToolButton") ? button->text() : QString();
        if (std::any_of(caption.begin(), caption.end(), [](QChar c) { return c.isLetter(); }) &&
            !caption.contains(u'&'))
            nameless.append(w->objectName() + QStringLiteral(" (no access key)"));
    }
    return nameless;
}
