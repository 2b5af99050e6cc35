#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <stdexcept>

// A case file under tests/units/import/data: a JSON document.
inline QJsonDocument importCases(const QString &name)
{
    QFile file(QStringLiteral(ELH_CASES_DIR "/") + name);
    QJsonParseError error{};
    const QJsonDocument document =
        QJsonDocument::fromJson(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), &error);
    if (error.error != QJsonParseError::NoError)
        throw std::runtime_error("unreadable case file " + name.toStdString() + ": "
                                 + error.errorString().toStdString());
    return document;
}
