#include "controls/PropertySet.h"

QVariant PropertySet::read(QStringView name, const QVariant& defaultValue) const
{
    const qsizetype index = indexOf(name);
    return index < 0 ? defaultValue : m_values.at(index).second;
}

void PropertySet::write(const QString& name, const QVariant& value, const QVariant& defaultValue)
{
    if (value == defaultValue) {
        remove(name);
        return;
    }
    const qsizetype index = indexOf(name);
    if (index < 0)
        m_values.append({name, value});
    else
        m_values[index] = {name, value};
}

bool PropertySet::contains(QStringView name) const
{
    return indexOf(name) >= 0;
}

void PropertySet::remove(QStringView name)
{
    const qsizetype index = indexOf(name);
    if (index >= 0)
        m_values.removeAt(index);
}

QStringList PropertySet::names() const
{
    QStringList result;
    result.reserve(m_values.size());
    for (const auto& entry : m_values)
        result.append(entry.first);
    return result;
}

qsizetype PropertySet::indexOf(QStringView name) const
{
    for (qsizetype i = 0; i < m_values.size(); ++i) {
        if (name.compare(m_values.at(i).first, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}
