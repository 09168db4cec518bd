#pragma once

class QWidget;

// Marks a widget that only decorates (a line, a separator, a picture that says nothing) so that
// assistive tools pass over it: its accessible interface says it is not shown. Call it right
// after creating the widget, before anything asks for the widget's accessible interface.
void MarkDecorative(QWidget& widget);
