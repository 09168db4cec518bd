#include "app/Icons.h"

#include "app/Resources.h"

#include <QPixmap>
#include <QtGlobal>

#include <array>
#include <mutex>

using namespace Qt::StringLiterals;

namespace {

constexpr int FrameCount = 16;
// Title bars draw 16 px, trays 22 or 24 px, task switchers 32 or 48 px.
constexpr int AnimationSizes[] = {16, 22, 24, 32, 48};

struct ToolbarPicture
{
    QStringView key;
    // Freedesktop names, tried in order.
    std::array<QStringView, 2> themeNames;
};

constexpr ToolbarPicture ToolbarPictures[] = {
    {u"Konec", {u"application-exit", {}}},
    {u"edit", {u"document-edit", u"document-properties"}},
    {u"URL", {u"document-open-remote", u"insert-link"}},
    {u"Volume", {u"audio-volume-high", {}}},
    {u"Nute", {u"audio-volume-muted", {}}},
    {u"Stop", {u"media-playback-stop", {}}},
    {u"Play", {u"media-playback-start", {}}},
};

} // namespace

QString PictureFile(const QString& name)
{
    InitResources();
    return u":/"_s + name;
}

QIcon ToolbarIcon(const QString& key)
{
    for (const ToolbarPicture& picture : ToolbarPictures) {
        if (picture.key != key) {
            continue;
        }
#if defined(Q_OS_LINUX)
        for (QStringView name : picture.themeNames) {
            if (!name.isEmpty() && QIcon::hasThemeIcon(name.toString())) {
                return QIcon::fromTheme(name.toString());
            }
        }
#endif
        return QIcon(PictureFile(u"icons/toolbar/"_s + key + u".svg"_s));
    }
    return {};
}

QIcon AnimationFrame(int frame)
{
    // The window and the tray icon change frame ten times a second. Each frame is drawn once,
    // at the sizes title bars, task switchers and trays use; a tick then hands over ready pixels
    // instead of drawing the picture again at every size a scalable icon would offer.
    static std::array<QIcon, FrameCount> frames;
    if (frame < 1 || frame > FrameCount) {
        frame = 1;
    }
    QIcon& icon = frames[static_cast<std::size_t>(frame - 1)];
    if (icon.isNull()) {
        const QIcon drawing(
            PictureFile(u"icons/anim/frame%1.svg"_s.arg(frame, 2, 10, QLatin1Char('0'))));
        for (const int size : AnimationSizes) {
            icon.addPixmap(drawing.pixmap(QSize(size, size)));
        }
    }
    return icon;
}

int AnimationFrameCount()
{
    return FrameCount;
}

QIcon ApplicationIcon()
{
    return QIcon(PictureFile(u"icons/skylistener.svg"_s));
}

QIcon ListIcon()
{
    return QIcon(PictureFile(u"icons/list.svg"_s));
}

QIcon StationIcon(bool visible)
{
    return QIcon(
        PictureFile(visible ? u"icons/station-visible.svg"_s : u"icons/station-hidden.svg"_s));
}

QIcon BoldIcon()
{
    return QIcon(PictureFile(u"icons/bold.svg"_s));
}
