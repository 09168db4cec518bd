// One start of a program for bench_startup: "main" builds the main window the way the program's
// main() does, over the settings folder given; "bare" shows a plain QTreeWidget with as many
// items. Prints "SHOWN" when the window is first exposed, then ends at once, or with --stay goes
// on idling until it is killed.
// Usage: startup_probe main SETTINGS_FOLDER APP_FOLDER [--stay] | bare COUNT [--stay]
#include "app/DialogPrompts.h"
#include "app/MpvPlayer.h"
#include "app/Resources.h"
#include "app/frmMain.h"
#include "stations/SettingsStore.h"

#include <QApplication>
#include <QTreeWidget>
#include <QWindow>

#include <cstdio>
#include <cstring>
#include <memory>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Reports the first expose of any window.
class FirstExpose : public QObject
{
public:
    explicit FirstExpose(bool stay)
        : m_stay(stay)
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_seen && event->type() == QEvent::Expose && qobject_cast<QWindow*>(watched) &&
            static_cast<QWindow*>(watched)->isExposed()) {
            m_seen = true;
            // After the window has handled the expose, i.e. painted itself.
            QMetaObject::invokeMethod(
                qApp,
                [stay = m_stay] {
                    std::printf("SHOWN\n");
                    std::fflush(stdout);
                    if (!stay)
                        _exit(0);
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool m_stay;
    bool m_seen = false;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const bool stay = std::strcmp(argv[argc - 1], "--stay") == 0;
    FirstExpose watch(stay);
    app.installEventFilter(&watch);

    if (argc >= 4 && std::strcmp(argv[1], "main") == 0) {
        QApplication::setApplicationName(u"skylistener"_s);
        QApplication::setOrganizationName(u"Hollowmere"_s);
        InitResources();
        SettingsStore settings(QString::fromLocal8Bit(argv[2]));
        DialogPrompts prompts;
        frmMain window(
            {settings, prompts, QString::fromLocal8Bit(argv[3]), std::make_unique<MpvPlayer>()});
        window.show();
        return QApplication::exec();
    }
    if (argc >= 3 && std::strcmp(argv[1], "bare") == 0) {
        QTreeWidget list;
        list.setColumnCount(2);
        list.setHeaderLabels({u"Stanice"_s, u"Stav"_s});
        const int count = std::atoi(argv[2]);
        for (int i = 0; i < count; ++i)
            new QTreeWidgetItem(&list, QStringList{u"Stanice Česká %1"_s.arg(i), QString()});
        list.resize(343, 182);
        list.show();
        return QApplication::exec();
    }
    std::fprintf(stderr, "usage: %s main SETTINGS APPFOLDER [--stay] | bare COUNT [--stay]\n",
                 argv[0]);
    return 2;
}
