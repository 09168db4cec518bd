#include "controls/ucSliderAccessible.h"

#include "controls/ucSlider.h"

ucSliderAccessible::ucSliderAccessible(ucSlider* slider)
    : QAccessibleWidget(slider, QAccessible::Slider)
{}

void* ucSliderAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

ucSlider* ucSliderAccessible::slider() const
{
    return static_cast<ucSlider*>(widget());
}

QVariant ucSliderAccessible::currentValue() const
{
    return slider()->Value();
}

void ucSliderAccessible::setCurrentValue(const QVariant& value)
{
    bool ok = false;
    const int v = value.toInt(&ok);
    if (ok)
        (void)slider()->setValue(std::clamp(v, slider()->Min(), slider()->Max()));
}

QVariant ucSliderAccessible::maximumValue() const
{
    return slider()->Max();
}

QVariant ucSliderAccessible::minimumValue() const
{
    return slider()->Min();
}

QVariant ucSliderAccessible::minimumStepSize() const
{
    return 1;
}

void ucSliderAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory([](const QString& className, QObject* object) {
            auto* slider = qobject_cast<ucSlider*>(object);
            return className == QLatin1StringView("ucSlider") && slider
                       ? static_cast<QAccessibleInterface*>(new ucSliderAccessible(slider))
                       : nullptr;
        });
        return true;
    }();
    (void)installed;
}
