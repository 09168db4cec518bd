#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <utility>

// The named values a hosting window keeps for one control instance between runs. Names are
// compared without regard to case, because hosts spell them as they please. A control writes
// each value together with its default and a value equal to its default is left out, so a
// control that reads a missing name gets that default back. The set keeps the order in which
// the names were written.
class PropertySet
{
public:
    // The stored value, or `defaultValue` when the name is missing.
    QVariant read(QStringView name, const QVariant& defaultValue = {}) const;

    // Stores the value, replacing one of the same name in its place; a value equal to its
    // default removes the name instead.
    void write(const QString& name, const QVariant& value, const QVariant& defaultValue = {});

    bool contains(QStringView name) const;
    void remove(QStringView name);
    QStringList names() const;
    qsizetype size() const { return m_values.size(); }
    bool isEmpty() const { return m_values.isEmpty(); }

private:
    qsizetype indexOf(QStringView name) const;

    QList<std::pair<QString, QVariant>> m_values;
};
