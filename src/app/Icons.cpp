#include "app/Icons.h"

#include "app/Resources.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <QtGlobal>

#include <array>
#include <map>
#include <memory>
#include <mutex>

using namespace Qt::StringLiterals;

namespace {

constexpr int FrameCount = 16;
// The sizes a frame offers to the window system: title bars draw 16 px, trays 22 or 24 px,
// task switchers 32 or 48 px.
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

// One frame of the animation: its picture drawn at a size on the first request for that size
// and kept. A window system that shows no icon (or a window that is never shown) costs nothing.
class FrameEngine : public QIconEngine
{
public:
    explicit FrameEngine(QString file)
        : m_file(std::move(file))
    {}

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = qMax(1, qMin(size.width(), size.height()));
        QPixmap& drawn = m_drawn[side];
        if (drawn.isNull()) {
            if (!m_renderer) {
                m_renderer = std::make_shared<QSvgRenderer>(m_file);
            }
            drawn = QPixmap(side, side);
            drawn.fill(Qt::transparent);
            QPainter painter(&drawn);
            m_renderer->render(&painter);
        }
        return drawn;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = qMin(size.width(), size.height());
        return {side, side};
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const int side : AnimationSizes) {
            sizes.append(QSize(side, side));
        }
        return sizes;
    }

    QString key() const override { return u"skylistener-frame"_s; }
    QIconEngine* clone() const override { return new FrameEngine(*this); }

private:
    QString m_file;
    std::shared_ptr<QSvgRenderer> m_renderer;
    std::map<int, QPixmap> m_drawn;
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
    // The window and the tray icon change frame ten times a second. Each frame is parsed and
    // drawn once per size that is asked for; a tick then hands over ready pixels.
    static std::array<QIcon, FrameCount> frames;
    if (frame < 1 || frame > FrameCount) {
        frame = 1;
    }
    QIcon& icon = frames[static_cast<std::size_t>(frame - 1)];
    if (icon.isNull()) {
        icon = QIcon(new FrameEngine(
            PictureFile(u"icons/anim/frame%1.svg"_s.arg(frame, 2, 10, QLatin1Char('0')))));
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
