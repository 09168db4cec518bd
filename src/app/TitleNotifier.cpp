#include "app/TitleNotifier.h"

#include "app/Icons.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QImage>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace {

constexpr int IconSize = 48;

// The program's icon as pixels, the "image-data" hint (iiibiiay: width, height, row stride,
// alpha, bits per sample, channels, RGBA bytes): our icon is in no icon theme the server could
// look it up in.
QVariant iconImage()
{
    const QImage image = ApplicationIcon()
                             .pixmap(QSize(IconSize, IconSize), 1.0)
                             .toImage()
                             .convertToFormat(QImage::Format_RGBA8888);
    QDBusArgument data;
    data.beginStructure();
    data << image.width() << image.height() << int(image.bytesPerLine()) << true << 8 << 4
         << QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
    data.endStructure();
    return QVariant::fromValue(data);
}

} // namespace

TitleNotifier::TitleNotifier(QObject* parent)
    : QObject(parent)
{}

TitleNotifier::~TitleNotifier() = default;

void TitleNotifier::notify(const QString& station, const QString& title)
{
    if (!QDBusConnection::sessionBus().isConnected())
        return;
    if (m_waiting)
        m_next.emplace(station, title);
    else
        send(station, title);
}

void TitleNotifier::send(const QString& station, const QString& title)
{
    if (!m_icon.isValid())
        m_icon = iconImage();
    const QVariantMap hints{{u"desktop-entry"_s, u"skylistener"_s}, {u"image-data"_s, m_icon}};
    QDBusMessage call = QDBusMessage::createMethodCall(
        u"org.freedesktop.Notifications"_s, u"/org/freedesktop/Notifications"_s,
        u"org.freedesktop.Notifications"_s, u"Notify"_s);
    // The body may be markup to the server; a title is plain text. No actions, the server's own
    // timeout.
    call << u"skylistener"_s << m_id << QString() << station << title.toHtmlEscaped()
         << QStringList() << hints << -1;

    // Without a server (and none the bus can start) the answer is an error, which only ends the
    // wait; the next title tries again.
    m_waiting = true;
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<uint> reply = *w;
        if (reply.isValid())
            m_id = reply.value();
        m_waiting = false;
        if (m_next) {
            const auto [station, title] = *std::exchange(m_next, std::nullopt);
            send(station, title);
        }
    });
}
