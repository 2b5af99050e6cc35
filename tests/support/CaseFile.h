#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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
