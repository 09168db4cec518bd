#include "winsvc/TrayActions.h"

TrayPlan planTrayNotification(int notification, int popupStyle, int restoreFromTrayOn,
                              bool formMinimized)
{
    using S = TrayStep;
    struct Row
    {
        int bit;
        int button;
        std::vector<TrayStep> events; // between restoring and the menu
        bool menuFirst;               // the menu comes before the events
    };
    Row row;
    switch (notification) {
    case TrayNotify::MouseMove:
        return {{S::RaiseMouseMove}, 0};
    case TrayNotify::LeftDown:
        row = {TrayAction::LeftDown, 1, {S::RaiseMouseDown}, false};
        break;
    case TrayNotify::LeftUp:
        row = {TrayAction::LeftUp, 1, {S::RaiseMouseUp, S::RaiseClick}, false};
        break;
    case TrayNotify::LeftDouble:
        row = {TrayAction::LeftDouble, 1, {S::RaiseDblClick}, true};
        break;
    case TrayNotify::RightDown:
        row = {TrayAction::RightDown, 2, {S::RaiseMouseDown}, false};
        break;
    case TrayNotify::RightUp:
        row = {TrayAction::RightUp, 2, {S::RaiseMouseUp, S::RaiseClick}, false};
        break;
    case TrayNotify::RightDouble:
        row = {TrayAction::RightDouble, 2, {S::RaiseDblClick}, false};
        break;
    case TrayNotify::MiddleDown:
        row = {TrayAction::MiddleDown, 4, {S::RaiseMouseDown}, false};
        break;
    case TrayNotify::MiddleUp:
        row = {TrayAction::MiddleUp, 4, {S::RaiseMouseUp, S::RaiseClick}, false};
        break;
    case TrayNotify::MiddleDouble:
        row = {TrayAction::MiddleDouble, 4, {S::RaiseDblClick}, false};
        break;
    default:
        return {};
    }

    TrayPlan plan;
    plan.button = row.button;
    if ((restoreFromTrayOn & row.bit) && formMinimized)
        plan.steps.push_back(S::Restore);
    const bool menu = (popupStyle & row.bit) != 0;
    if (menu && row.menuFirst)
        plan.steps.push_back(S::ShowMenu);
    plan.steps.insert(plan.steps.end(), row.events.begin(), row.events.end());
    if (menu && !row.menuFirst)
        plan.steps.push_back(S::ShowMenu);
    return plan;
}

QString trayTipText(const QString& tip)
{
    if (tip.size() <= TrayTipLength)
        return tip;
    QString cut = tip.left(TrayTipLength);
    if (cut.back().isHighSurrogate())
        cut.chop(1);
    return cut;
}
