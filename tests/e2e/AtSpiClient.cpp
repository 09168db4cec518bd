#include "AtSpiClient.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusVariant>

using namespace Qt::StringLiterals;

namespace {

const QString Registry = u"org.a11y.atspi.Registry"_s;
const QString AccessibleInterface = u"org.a11y.atspi.Accessible"_s;
const QString ValueInterface = u"org.a11y.atspi.Value"_s;
// AT-SPI's state numbers
constexpr int Focused = 12;
constexpr int Showing = 25;

} // namespace

AtSpiClient::~AtSpiClient()
{
    if (m_bus.isConnected())
        QDBusConnection::disconnectFromBus(m_bus.name());
}

bool AtSpiClient::connectTo(const QString& address)
{
    m_bus = QDBusConnection::connectToBus(address, u"atspi-client"_s);
    if (!m_bus.isConnected())
        return false;
    m_bus.connect({}, {}, u"org.a11y.atspi.Event.Object"_s, u"PropertyChange"_s, this,
                  SLOT(propertyChanged(QDBusMessage)));
    // An application sends only the events some client has asked the registry for.
    return call(Registry, u"/org/a11y/atspi/registry"_s, Registry, u"RegisterEvent"_s,
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
    return reply.arguments().isEmpty() ? QVariant()
                                       : reply.arguments().first().value<QDBusVariant>().variant();
}

QList<AtSpiClient::Node> AtSpiClient::showing() const
{
    QList<Node> found;
    walk(Registry, u"/org/a11y/atspi/accessible/root"_s, found);
    return found;
}

void AtSpiClient::walk(const QString& service, const QString& path, QList<Node>& found) const
{
    const QDBusMessage children = call(service, path, AccessibleInterface, u"GetChildren"_s);
    if (children.arguments().isEmpty())
        return;
    const auto list = children.arguments().first().value<QDBusArgument>();
    QList<std::pair<QString, QString>> objects;
    list.beginArray();
    while (!list.atEnd()) {
        QString childService;
        QDBusObjectPath childPath;
        list.beginStructure();
        list >> childService >> childPath;
        list.endStructure();
        objects.append({childService, childPath.path()});
    }
    list.endArray();
    for (const auto& [childService, childPath] : objects) {
        const QDBusMessage state =
            call(childService, childPath, AccessibleInterface, u"GetState"_s);
        const auto bits = state.arguments().value(0).value<QDBusArgument>();
        QList<uint> words;
        bits >> words;
        if (words.size() < 1 || !(words.at(0) & (1u << Showing)))
            continue;
        Node node{childService, childPath, {}, {}, {}, (words.at(0) & (1u << Focused)) != 0};
        node.role = call(childService, childPath, AccessibleInterface, u"GetRoleName"_s)
                        .arguments()
                        .value(0)
                        .toString();
        node.name = property(node, AccessibleInterface, u"Name"_s).toString();
        node.description = property(node, AccessibleInterface, u"Description"_s).toString();
        found.append(node);
        walk(childService, childPath, found);
    }
}

AtSpiClient::Node AtSpiClient::find(const QString& role, const QString& name) const
{
    for (const Node& node : showing()) {
        if (node.role == role && node.name == name)
            return node;
    }
    return {};
}

AtSpiClient::Node AtSpiClient::focused() const
{
    // A list's current item says it is focused also while another control has the keyboard.
    for (const Node& node : showing()) {
        if (node.focused && !node.role.endsWith(u" item"_s))
            return node;
    }
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

void AtSpiClient::propertyChanged(const QDBusMessage& message)
{
    // The event names the object; its name is read as the reader would, right away.
    if (message.arguments().value(0).toString() == u"accessible-name"_s)
        m_announced.append(message.path());
}

QStringList AtSpiClient::takeAnnouncements()
{
    return std::exchange(m_announced, {});
}
