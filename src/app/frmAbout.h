#pragma once

#include <QDialog>
#include <QSvgRenderer>

class QLabel;
class QPushButton;

// The about box: the product's version on a white picture, the maker's notice and address.
// Create it when it is opened, show it modally, and let it go when it closes.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);

    QLabel* Image1() const { return m_image1; }
    QLabel* Label1() const { return m_label1; }
    QPushButton* Command1() const { return m_command1; }

    // " Ver.: 0.1.12 beta", from the version record.
    static QString VersionLine();

public Q_SLOTS:
    void Command1_Click(); // "OK": closes the box

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSvgRenderer m_background;
    QLabel* m_image1 = nullptr;        // the mpv picture
    QLabel* m_label1 = nullptr;        // the version line
    QPushButton* m_command1 = nullptr; // "OK"
};
