#pragma once

#include <QtWidgets>

// What a person reads in a label or a tool tip. Qt shows rich text when told to or when the text
// looks like markup; the reader then sees the document's text, and an <img> makes Qt read a file.
inline QString ShownText(const QString& text, Qt::TextFormat format = Qt::AutoText)
{
    if (format == Qt::PlainText || (format == Qt::AutoText && !Qt::mightBeRichText(text)))
        return text;
    QTextDocument document;
    document.setHtml(text);
    return document.toPlainText();
}

inline QString ShownText(const QLabel* label)
{
    return ShownText(label->text(), label->textFormat());
}
