#include "controls/Decorative.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

constexpr char DecorativeProperty[] = "skylistener_decorative";

class DecorativeAccessible final : public QAccessibleWidget
{
public:
    explicit DecorativeAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Separator)
    {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        state.offscreen = true;
        return state;
    }
};

} // namespace

void MarkDecorative(QWidget& widget)
{
    static const bool installed = [] {
        QAccessible::installFactory([](const QString&, QObject* object) -> QAccessibleInterface* {
            auto* widget = qobject_cast<QWidget*>(object);
            if (!widget || !widget->property(DecorativeProperty).toBool())
                return nullptr;
            return new DecorativeAccessible(widget);
        });
        return true;
    }();
    (void)installed;
    widget.setProperty(DecorativeProperty, true);
    // Qt may have made the widget's interface already, to tell a running screen reader of the
    // new widget: that one goes, and the next comes from the factory above.
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(&widget);
    if (made && !dynamic_cast<DecorativeAccessible*>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}
