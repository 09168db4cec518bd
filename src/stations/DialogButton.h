#pragma once

#include <QString>

class QPushButton;
class QWidget;

// A dialog's push button, named for the tests and the stored layout. It is never a default
// button, so that Enter in a field presses none.
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption);
