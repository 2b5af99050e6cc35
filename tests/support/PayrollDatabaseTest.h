#pragma once

#include "ReturnDatabaseTest.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// A return database with the school's payroll: the financial years 2022
// and 2023, the school 1 with its fiscal code, the user's parameters on
// them; the tests write the payroll's tables and the certifications.
class PayrollDatabaseTest : public ReturnDatabaseTest
{
protected:
    void SetUpOpened() override;

    // Rows of the payroll's tables {"TABLE": [{...}], ...}.
    void payroll(const QByteArray &json);
    // Records of a certification table, as the payroll module writes them.
    void certify(const QString &table, const QByteArray &records);
    // A valid fiscal code of the n-th person of a large payroll, and the
    // December certification of `count` such people, each with his own amounts.
    static QString personCode(int n);
    void certifyPeople(int count);
    // The rows of a person in a table of the return, one text of the values
    // of each that are neither empty nor "0" ("FIELD=text ..."), in the
    // table's order, without his code, record number and person.
    QStringList rows(const QString &table, const QString &code);
    // A value of the first row of a person in a table.
    QString value(const QString &table, const QString &code, const QString &field);
};
