#pragma once

#include <QDomElement>
#include <QString>
#include <QStringView>

#include <vector>

// The node-per-element model on which the program binds its XML documents
// (record layouts, import definitions): a class per kind of element, with a
// getter and a setter per attribute and, for an element that holds a list,
// its count, its items by index, Add and Insert. The bindings read and
// write the document in place; an absent attribute reads as the empty text.
namespace XmlNodes {

QString attribute(const QDomElement &node, QStringView name);
void setAttribute(QDomElement &node, QStringView name, const QString &value);
// The child elements of `node` with the tag, in document order.
std::vector<QDomElement> childElements(const QDomElement &node, QStringView tag);
QDomElement appendChild(QDomElement &node, QStringView tag);
// A new child before items[index], or at the end for an index out of range.
QDomElement insertChild(QDomElement &node, QStringView tag, const std::vector<QDomElement> &items, int index);

} // namespace XmlNodes

// An element of a bound document.
class TXMLNode
{
public:
    explicit TXMLNode(QDomElement node)
        : m_node(std::move(node))
    {
    }

    // The line of the element in its file, for messages.
    int lineNumber() const { return m_node.lineNumber(); }

protected:
    QString get(QStringView name) const { return XmlNodes::attribute(m_node, name); }
    void set(QStringView name, const QString &value) { XmlNodes::setAttribute(m_node, name, value); }
    QDomElement &node() { return m_node; }
    const QDomElement &node() const { return m_node; }

private:
    QDomElement m_node;
};

// An element holding an ordered list of child elements of one tag.
template<class Item>
class TXMLNodeCollection : public TXMLNode
{
public:
    // `itemTag` must outlive the binding (a literal).
    TXMLNodeCollection(QDomElement node, QStringView itemTag)
        : TXMLNode(std::move(node))
        , m_itemTag(itemTag)
        , m_items(XmlNodes::childElements(this->node(), itemTag))
    {
    }

    int Count() const { return static_cast<int>(m_items.size()); }
    Item Add()
    {
        m_items.push_back(XmlNodes::appendChild(node(), m_itemTag));
        return Item(m_items.back());
    }
    Item Insert(int index)
    {
        QDomElement e = XmlNodes::insertChild(node(), m_itemTag, m_items, index);
        if (index < 0 || index >= Count())
            m_items.push_back(e);
        else
            m_items.insert(m_items.begin() + index, e);
        return Item(e);
    }

protected:
    Item itemAt(int index) const { return Item(m_items.at(static_cast<std::size_t>(index))); }

private:
    QStringView m_itemTag;
    std::vector<QDomElement> m_items;
};
