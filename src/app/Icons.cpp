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

// The toolbar buttons that have a picture, each drawn by us in icons/toolbar/<key>.svg. The
// desktop's icon theme is not searched: that lookup tries each name and its shorter fallbacks
// in every size folder of the theme and of its parents, some 30,000 file checks at start-up
// when the theme lacks them, and the toolbar then looks the same on every desktop.
constexpr QStringView ToolbarKeys[] = {u"Konec", u"edit", u"URL", u"Volume",
                                       u"Nute",  u"Stop", u"Play"};

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
    for (QStringView known : ToolbarKeys) {
        if (known == key)
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
