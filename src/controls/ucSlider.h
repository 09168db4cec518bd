#pragma once

#include "controls/ControlError.h"
#include "controls/SliderGeometry.h"
#include "controls/SliderValue.h"

#include <QPixmap>
#include <QWidget>

class PropertySet;

// A slider the program draws itself: a thumb that moves along a rail, horizontally or
// vertically, standing for a whole-number Value between Min and Max. The mouse drags the thumb
// or makes it jump to a press on the rail. Tab gives it the keyboard focus (a click does not
// take it), and then the arrows move it by one, Page Up and Page Down by ten, Home and End to
// the ends; assistive tools see a slider whose value they can read and set. There is no wheel
// handling. Writes of
// Min, Max and Value that break the range return ControlError::InvalidPropertyValue and change
// nothing; every change of Value raises Change, and ArrivedFirst or ArrivedLast at an end.
// The control's own Enabled only decides whether a press starts a drag; the widget itself
// stays enabled so that a release still raises Click. A hosting window keeps the design-time
// properties in a PropertySet through readProperties() and writeProperties().
class ucSlider : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int Value READ Value WRITE setValue NOTIFY Change USER true)
    Q_PROPERTY(int Min READ Min WRITE setMin)
    Q_PROPERTY(int Max READ Max WRITE setMax)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(int Orientation READ Orientation WRITE setOrientation)
    Q_PROPERTY(int RailStyle READ RailStyle WRITE setRailStyle)
    Q_PROPERTY(bool ShowValueTip READ ShowValueTip WRITE setShowValueTip)
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)

public:
    // Rail styles; any other value draws no rail.
    enum RailStyles
    {
        RailSunken = 0,
        RailRaised = 1,
        RailThinSunken = 2,
        RailThinRaised = 3,
        RailNone = 4,
        RailImageStyle = 99,
    };

    explicit ucSlider(QWidget* parent = nullptr);
    ~ucSlider() override;

    bool Enabled() const { return m_enabled; }
    // Hides QWidget::setEnabled on purpose: the look stays and releases still raise Click.
    void setEnabled(bool enabled);

    // An OLE colour: 0x00BBGGRR, or a system colour with the top bit set.
    quint32 BackColor() const { return m_backColor; }
    void setBackColor(quint32 color);

    // The classic pointer codes (0 default, 1 arrow, 2 cross, 3 I-beam, … 99 MouseIcon);
    // a code outside the 16-bit signed range fails with ControlError::Overflow.
    int MousePointer() const { return m_mousePointer; }
    ControlError setMousePointer(int code);
    QPixmap MouseIcon() const { return m_mouseIcon; }
    void setMouseIcon(const QPixmap& icon);

    int Max() const { return m_model.Max(); }
    ControlError setMax(int n);
    int Min() const { return m_model.Min(); }
    ControlError setMin(int n);
    int Value() const { return m_model.Value(); }
    ControlError setValue(int v);

    // 0 horizontal (Min at the left), 1 vertical (Min at the bottom); other codes are kept as
    // written and behave as horizontal.
    int Orientation() const { return m_orientation; }
    void setOrientation(int orientation);
    int RailStyle() const { return m_railStyle; }
    void setRailStyle(int style);
    QPixmap SliderImage() const { return m_sliderImage; }
    void setSliderImage(const QPixmap& picture);
    QPixmap RailImage() const { return m_railImage; }
    void setRailImage(const QPixmap& picture);
    bool ShowValueTip() const { return m_showValueTip; }
    void setShowValueTip(bool show);

    // Takes the stored properties as they are, without checks or notifications.
    void readProperties(const PropertySet& properties);
    // Writes the stored properties, leaving out those equal to their defaults.
    void writeProperties(PropertySet& properties) const;

    // The thumb's place and size in pixels, and the rail groove; for hosts and tests.
    SliderGeometry::ThumbRect thumb() const { return m_thumb; }
    SliderGeometry::PixelRect groove() const { return m_groove; }
    bool isDragging() const { return m_dragging; }

    QSize sizeHint() const override;

Q_SIGNALS:
    void Click();
    void ArrivedFirst();
    void ArrivedLast();
    void Change();
    // Shift: 1 Shift, 2 Ctrl, 4 Alt, of the press or release itself; a handler may change it.
    void MouseDown(qint16& Shift);
    void MouseUp(qint16& Shift);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    SliderGeometry::Orientation orientation() const;
    bool imageRail() const;
    void runLayout();
    void applySize(const SliderGeometry::Layout& layout);
    void redraw();
    void placeThumbForValue();
    void resetThumb();
    void dragTo(QPointF pointer);
    void updateTip();
    void applyPointer();
    void drawRail(QPainter& painter) const;
    void drawThumb(QPainter& painter) const;

    SliderValue m_model;
    bool m_enabled = true;
    int m_orientation = 1;
    int m_railStyle = RailSunken;
    bool m_showValueTip = true;
    bool m_dragging = false;
    float m_grabX = 0;
    float m_grabY = 0;
    SliderGeometry::ThumbRect m_thumb;
    SliderGeometry::PixelRect m_groove;
    QSize m_railSize{16, 17};
    QPixmap m_sliderImage;
    QPixmap m_railImage;
    quint32 m_backColor = 0x8000000F;
    int m_mousePointer = 0;
    QPixmap m_mouseIcon;
    bool m_inLayout = false;
    bool m_layoutFixedWidth = false;
    bool m_layoutFixedHeight = false;
};
