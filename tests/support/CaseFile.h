#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <stdexcept>

// A JSON case file of a test; a file missing or unreadable stops the test
// with its name rather than giving no cases.
inline QJsonDocument caseDocument(const QString &path)
{
    QFile file(path);
    QJsonParseError error{};
    const QJsonDocument document =
        QJsonDocument::fromJson(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), &error);
    if (error.error != QJsonParseError::NoError)
        throw std::runtime_error("unreadable case file " + path.toStdString() + ": "
                                 + error.errorString().toStdString());
    return document;
}

// The rows of a JSON case file: an array, one case an element.
inline QJsonArray caseFile(const QString &path)
{
    const QJsonArray rows = caseDocument(path).array();
    if (rows.isEmpty())
        throw std::runtime_error("no cases in " + path.toStdString());
    return rows;
}

// The rows of a case file of texts: an array of arrays of texts. A row whose
// first text starts with "//" is a note.
inline QList<QStringList> caseTextRows(const QString &path)
{
    QList<QStringList> rows;
    for (const QJsonValue &row : caseFile(path)) {
        QStringList texts;
        for (const QJsonValue &text : row.toArray())
            texts.append(text.toString());
        if (!texts.isEmpty() && !texts.first().startsWith(QStringLiteral("//")))
            rows.append(texts);
    }
    return rows;
}
