#include "ClientDataSet.h"
#include "DeliveredData.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kTabelle = u"USR\\FL2023\\Res\\Tabelle\\"_s;

void open(ClientDataSet &ds, const QString &relative)
{
    ds.setName(relative);
    ds.loadFromFile(DeliveredData::path(relative));
}

QStringList codes(const QString &file)
{
    ClientDataSet ds;
    open(ds, kTabelle + file);
    QStringList result;
    for (ds.first(); !ds.eof(); ds.next())
        result.append(ds.fieldByName(u"CODICE"_s).asString());
    return result;
}

} // namespace

TEST(DeliveredReferenceTables, TheCodeComesFirstAndEachCodeOnce)
{
    const QStringList files = QDir(DeliveredData::path(kTabelle)).entryList(QDir::Files);
    EXPECT_FALSE(files.isEmpty());
    for (const QString &file : files) {
        SCOPED_TRACE(file.toStdString());
        ClientDataSet ds;
        open(ds, kTabelle + file);
        ASSERT_GE(ds.fieldCount(), 2);
        // The search dialog returns the first visible field: the code.
        EXPECT_EQ(ds.field(0).fieldName(), u"CODICE"_s);
        EXPECT_EQ(ds.field(0).dataType(), FieldType::String);
        EXPECT_EQ(ds.field(1).fieldName(), u"DESCRIZIONE"_s);
        EXPECT_EQ(ds.field(1).dataType(), FieldType::String);
        QSet<QString> seen;
        for (ds.first(); !ds.eof(); ds.next()) {
            const QString code = ds.field(0).asString();
            EXPECT_FALSE(code.trimmed().isEmpty()) << "record " << ds.recNo();
            EXPECT_FALSE(seen.contains(code)) << code.toStdString();
            seen.insert(code);
            // A description as long as its field was cut when the table was packed.
            EXPECT_LT(ds.field(1).asString().size(), ds.field(1).size()) << code.toStdString();
        }
    }
}

TEST(DeliveredReferenceTables, CodesAndColumnsHaveTheFormOfTheFieldsTheyFill)
{
    // Two-digit codes are compared as written: "01", never "1".
    const QRegularExpression twoDigits(u"^\\d\\d$"_s);
    for (const QString &file : {u"TREG_REGIONI.CDS"_s, u"TMES_MESI.CDS"_s, u"TTFO_TIPOFORNIT.CDS"_s}) {
        const QStringList list = codes(file);
        EXPECT_FALSE(list.isEmpty()) << file.toStdString();
        for (const QString &code : list)
            EXPECT_TRUE(twoDigits.match(code).hasMatch()) << file.toStdString() << ' ' << code.toStdString();
    }
    EXPECT_EQ(codes(u"TMES_MESI.CDS"_s).size(), 12);
    const QRegularExpression ateco(u"^\\d\\d\\.\\d\\d\\.\\d\\d$"_s);
    for (const QString &code : codes(u"TAT8_CODATECO.CDS"_s))
        EXPECT_TRUE(ateco.match(code).hasMatch()) << code.toStdString();
    // Annotation codes are read back from the text before ")" in upper case.
    const QRegularExpression annotation(u"^[A-Z]{2}$"_s);
    for (const QString &code : codes(u"TANN_ANNOTAZIONI.cds"_s))
        EXPECT_TRUE(annotation.match(code).hasMatch()) << code.toStdString();
    // The qualifications carry the columns that fill the INPDAP section.
    ClientDataSet qualifications;
    open(qualifications, kTabelle + u"TINQ_INQUADRAMENTO.CDS"_s);
    for (const QString &name : {u"CODCOMPARTO"_s, u"SOTTOCOMPARTO"_s, u"CODQUALIFICA"_s})
        EXPECT_NE(qualifications.findField(name), nullptr) << name.toStdString();
}
