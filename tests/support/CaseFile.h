#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <stdexcept>

// The rows of a JSON case file: an array, one case an element.
inline QJsonArray caseFile(const QString &path)
{
    QFile file(path);
    const QJsonArray rows =
        file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).array() : QJsonArray();
    if (rows.isEmpty())
        throw std::runtime_error("no cases in " + path.toStdString());
    return rows;
}
