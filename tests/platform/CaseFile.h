#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>

#include <stdexcept>

// The rows of a case file under tests/platform/data: a JSON array of rows,
// each an array of texts. A row whose first text starts with "//" is a note.
inline QList<QStringList> caseRows(const QString &name)
{
    QFile file(QStringLiteral(ELH_CASES_DIR "/") + name);
    QJsonParseError error{};
    const QJsonDocument document =
        QJsonDocument::fromJson(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !document.isArray() || document.array().isEmpty())
        throw std::runtime_error("unreadable case file " + name.toStdString() + ": "
                                 + error.errorString().toStdString());
    QList<QStringList> rows;
    for (const QJsonValue &row : document.array()) {
        QStringList texts;
        for (const QJsonValue &text : row.toArray())
            texts.append(text.toString());
        if (!texts.isEmpty() && !texts.first().startsWith(QStringLiteral("//")))
            rows.append(texts);
    }
    return rows;
}
