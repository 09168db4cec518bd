#pragma once

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

class ucSlider;

// How assistive tools see the slider: a slider whose value they read and set, in whole steps
// between Min and Max. A value set this way moves the thumb and raises Change as a drag does.
class ucSliderAccessible final : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit ucSliderAccessible(ucSlider* slider);

    void* interface_cast(QAccessible::InterfaceType type) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

    // Registers the interface with Qt's accessibility; idempotent.
    static void install();

private:
    ucSlider* slider() const;
};
