#include "XmlNodes.h"

#include <QDomDocument>

namespace XmlNodes {

QString attribute(const QDomElement &node, QStringView name)
{
    return node.attribute(name.toString());
}

void setAttribute(QDomElement &node, QStringView name, const QString &value)
{
    node.setAttribute(name.toString(), value);
}

std::vector<QDomElement> childElements(const QDomElement &node, QStringView tag)
{
    std::vector<QDomElement> items;
    const QString name = tag.toString();
    for (QDomElement e = node.firstChildElement(name); !e.isNull(); e = e.nextSiblingElement(name))
        items.push_back(e);
    return items;
}

QDomElement appendChild(QDomElement &node, QStringView tag)
{
    QDomElement e = node.ownerDocument().createElement(tag.toString());
    node.appendChild(e);
    return e;
}

QDomElement insertChild(QDomElement &node, QStringView tag, const std::vector<QDomElement> &items, int index)
{
    if (index < 0 || index >= static_cast<int>(items.size()))
        return appendChild(node, tag);
    QDomElement e = node.ownerDocument().createElement(tag.toString());
    node.insertBefore(e, items[static_cast<std::size_t>(index)]);
    return e;
}

} // namespace XmlNodes
