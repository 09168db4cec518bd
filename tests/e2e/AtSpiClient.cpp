#include "AtSpiClient.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusVariant>

using namespace Qt::StringLiterals;

namespace {

const QString AccessibleInterface = u"org.a11y.atspi.Accessible"_s;
const QString ValueInterface = u"org.a11y.atspi.Value"_s;
constexpr uint Focused = 1u << 12, Showing = 1u << 25; // AT-SPI's states

} // namespace

bool AtSpiClient::connectTo(const QString& address)
{
    m_bus = QDBusConnection::connectToBus(address, u"atspi-client"_s);
    m_bus.connect({}, {}, u"org.a11y.atspi.Event.Object"_s, u"PropertyChange"_s, this,
                  SLOT(propertyChanged(QDBusMessage)));
    // An application sends only the events some client has asked the registry for.
    return call(u"org.a11y.atspi.Registry"_s, u"/org/a11y/atspi/registry"_s,
                u"org.a11y.atspi.Registry"_s, u"RegisterEvent"_s,
                {u"Object:PropertyChange:AccessibleName"_s})
               .type() == QDBusMessage::ReplyMessage;
}

QDBusMessage AtSpiClient::call(const QString& service, const QString& path,
                               const QString& interface, const QString& method,
                               const QVariantList& arguments) const
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    return m_bus.call(message, QDBus::Block, 5000);
}

QVariant AtSpiClient::property(const Node& node, const QString& interface,
                               const QString& name) const
{
    const QDBusMessage reply = call(node.service, node.path, u"org.freedesktop.DBus.Properties"_s,
                                    u"Get"_s, {interface, name});
    return reply.arguments().value(0).value<QDBusVariant>().variant();
}

QList<AtSpiClient::Node> AtSpiClient::showing(const QString& service, const QString& path) const
{
    QList<Node> found;
    const auto children = qdbus_cast<QList<std::pair<QString, QDBusObjectPath>>>(
        call(service, path, AccessibleInterface, u"GetChildren"_s).arguments().value(0));
    for (const auto& [childService, childPath] : children) {
        Node node{childService, childPath.path(), {}, {}, {}};
        const auto get = [&](const QString& method) {
            return call(node.service, node.path, AccessibleInterface, method).arguments().value(0);
        };
        const auto state = qdbus_cast<QList<uint>>(get(u"GetState"_s));
        if (state.isEmpty() || !(state[0] & Showing))
            continue;
        node.focused = state[0] & Focused;
        node.role = get(u"GetRoleName"_s).toString();
        node.name = property(node, AccessibleInterface, u"Name"_s).toString();
        node.description = property(node, AccessibleInterface, u"Description"_s).toString();
        found += node;
        found += showing(node.service, node.path);
    }
    return found;
}

AtSpiClient::Node AtSpiClient::find(const QString& role, const QString& name) const
{
    for (const Node& node : showing())
        if (node.role == role && node.name == name)
            return node;
    return {};
}

double AtSpiClient::value(const Node& node) const
{
    return property(node, ValueInterface, u"CurrentValue"_s).toDouble();
}

bool AtSpiClient::setValue(const Node& node, double value) const
{
    return call(node.service, node.path, u"org.freedesktop.DBus.Properties"_s, u"Set"_s,
                {ValueInterface, u"CurrentValue"_s, QVariant::fromValue(QDBusVariant(value))})
               .type() == QDBusMessage::ReplyMessage;
}
