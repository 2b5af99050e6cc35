#pragma once

#include <QFile>
#include <QString>
#include <QXmlStreamReader>

#include <optional>

// Reads an XML coordinate descriptor element by element and converts its
// attributes, raising EInOutError with the file and the line of anything
// that is wrong.
class DescriptorReader
{
public:
    // Opens the file and enters its root element, which must be `root`.
    DescriptorReader(const QString &path, const QString &root);

    // Enters the next child element of the current one; false at its end.
    bool nextChild();
    bool is(const QString &name) const { return m_xml.name() == name; }
    void skip() { m_xml.skipCurrentElement(); }
    // Reads each child element of that name with `read`, skipping the others.
    template<typename Read>
    void forEachChild(const QString &name, Read read)
    {
        while (nextChild()) {
            if (is(name))
                read();
            else
                skip();
        }
    }
    // Raises the error of a malformed document; call once the root is done.
    void finish();

    QString text(const QString &attribute) const;
    int requiredInt(const QString &attribute) const;
    int optionalInt(const QString &attribute) const;
    double optionalReal(const QString &attribute) const;
    // A number with a comma or a point; nothing when the text is not one.
    static std::optional<double> parseReal(const QString &text);

    [[noreturn]] void fail(const QString &what) const;

private:
    QString m_path;
    QFile m_file;
    QXmlStreamReader m_xml;
};
