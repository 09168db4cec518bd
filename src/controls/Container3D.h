#pragma once

#include <QPixmap>
#include <QString>
#include <QVariantMap>
#include <QWidget>

class QTimer;

// The design-time properties of a Container3D as the hosting window stores them: by name, a
// value equal to its default being left out.
struct Container3DProperties
{
    bool enabled = true;
    QPixmap mouseIcon;
    int mousePointer = 0;
    int ctrlEffect = 1;
    quint32 backColor = 0x8000000F; // button face
    int autoSize = 0;
    int backStyle = 1;

    // Reads every key with its default; a value of the wrong kind takes the default.
    static Container3DProperties load(const QVariantMap& bag);
    QVariantMap save() const;
};

// A container that paints a 3D frame around its area (thin raised, raised, sunken, bump or
// etched), reports when the mouse enters and leaves it, passes its mouse events on to the
// window that holds it and can size a single contained control to its inside. The frame is
// drawn in pixels of its own surface; mouse coordinates are reported in twips, the unit the
// hosting window is laid out in.
class Container3D : public QWidget
{
    Q_OBJECT

public:
    // A property assignment that was refused; the state is then unchanged. Number 0 means none.
    struct PropertyError
    {
        int number = 0;
        QString source;
        QString description;
        explicit operator bool() const { return number != 0; }
    };

    explicit Container3D(QWidget* parent = nullptr);
    ~Container3D() override;

    bool Enabled() const { return isEnabled(); }
    // (set with QWidget::setEnabled)

    QPixmap MouseIcon() const { return m_mouseIcon; }
    void setMouseIcon(const QPixmap& icon);

    int MousePointer() const { return m_mousePointer; }
    // A value outside 16 bits is refused with error 6 (overflow).
    PropertyError setMousePointer(int pointer);

    int CtrlEffect() const { return m_ctrlEffect; }
    // 0 none, 1 thin raised, 2 raised, 3 sunken, 4 bump, 5 etched; anything else is error 514.
    PropertyError setCtrlEffect(int effect);

    quint32 BackColor() const { return m_backColor; }
    void setBackColor(quint32 colour);

    int AutoSize() const { return m_autoSize; }
    // 0 or 1; anything else is error 514.
    PropertyError setAutoSize(int autoSize);

    int BackStyle() const { return m_backStyle; }
    // 0 transparent, 1 opaque; a value outside 16 bits is refused with error 6 (overflow).
    PropertyError setBackStyle(int style);

    // The hosting window's stored property set.
    void ReadProperties(const QVariantMap& bag);
    QVariantMap WriteProperties() const;

    QSize sizeHint() const override;

Q_SIGNALS:
    // A persisted property was assigned; `key` is its stored name.
    void PropertyChanged(const QString& key);

    void MouseEnter();
    void MouseExit();
    void Click();
    void DblClick();
    // Button: 1 left, 2 right, 4 middle; Shift: 1 Shift, 2 Ctrl, 4 Alt; X and Y in twips.
    void MouseDown(short Button, short Shift, float X, float Y);
    void MouseMove(short Button, short Shift, float X, float Y);
    void MouseUp(short Button, short Shift, float X, float Y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void tmrMouseEnter_Timer();
    // Repaints the frame; unless only repainting, also places a single contained control.
    void redraw(bool repaintOnly);
    void placeContainedControl();
    void applyMousePointer();
    static PropertyError outOfBounds();

    QTimer* m_tmrMouseEnter = nullptr;
    QPixmap m_mouseIcon;
    int m_mousePointer = 0;
    int m_ctrlEffect = 1;
    quint32 m_backColor = 0x8000000F;
    int m_autoSize = 0;
    int m_backStyle = 1;
    bool m_pressedInside = false;
};
