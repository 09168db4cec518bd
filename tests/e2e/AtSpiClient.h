#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>

// What a screen reader sees of a program through the accessibility bus (AT-SPI, the bridge Orca
// reads): its objects with their roles, names and values, and the name changes it announces.
class AtSpiClient : public QObject
{
    Q_OBJECT

public:
    struct Node
    {
        QString service, path, role, name, description;
        bool focused = false;
    };

    ~AtSpiClient() override { QDBusConnection::disconnectFromBus(m_bus.name()); }
    // Connects to the bus at `address` and asks the applications to announce name changes.
    bool connectTo(const QString& address);
    // Every object the applications (or the one at `path`) show on the screen, depth first.
    QList<Node>
    showing(const QString& service = QStringLiteral("org.a11y.atspi.Registry"),
            const QString& path = QStringLiteral("/org/a11y/atspi/accessible/root")) const;
    // The first showing object with this role and name, or one with an empty path.
    Node find(const QString& role, const QString& name) const;
    double value(const Node& node) const;
    bool setValue(const Node& node, double value) const;
    // The paths of the objects that announced a new name since the last call, oldest first.
    QStringList takeAnnouncements() { return std::exchange(m_announced, {}); }

private Q_SLOTS:
    void propertyChanged(const QDBusMessage& message)
    {
        if (message.arguments().value(0).toString() == QLatin1String("accessible-name"))
            m_announced.append(message.path());
    }

private:
    QDBusMessage call(const QString& service, const QString& path, const QString& interface,
                      const QString& method, const QVariantList& arguments = {}) const;
    QVariant property(const Node& node, const QString& interface, const QString& name) const;

    QDBusConnection m_bus{QString()};
    QStringList m_announced;
};
