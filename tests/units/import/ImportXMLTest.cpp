#include "ElhUImportXML.h"

#include "CaseFile.h"
#include "ClientDataSet.h"
#include "Exceptions.h"
#include "TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// "FIMP=12;STXT=a": the columns of a row.
QList<QStringList> values(const QString &text)
{
    QList<QStringList> pairs;
    for (const QString &pair : text.split(u';', Qt::SkipEmptyParts))
        pairs.append(pair.split(u'='));
    return pairs;
}

// Source and target share their columns, so that reverse mode can read
// ToField from the source. The target is left in edit state, as callers do.
std::unique_ptr<ClientDataSet> row(const QString &name, const QString &text)
{
    auto ds = std::make_unique<ClientDataSet>(name);
    FieldDefs &d = ds->fieldDefs();
    d.add(u"STXT"_s, FieldType::String, 20);
    d.add(u"SALT"_s, FieldType::String, 20);
    d.add(u"FIMP"_s, FieldType::Decimal);
    d.add(u"FALT"_s, FieldType::Decimal);
    d.add(u"IQTA"_s, FieldType::Integer);
    d.add(u"DDATA"_s, FieldType::Date);
    d.add(u"LFLAG"_s, FieldType::String, 1);
    ds->createDataSet();
    ds->append();
    for (const QStringList &pair : values(text))
        ds->fieldByName(pair[0]).setAsString(pair[1]);
    ds->post();
    ds->edit();
    return ds;
}

QByteArray definitions(const QString &imports)
{
    return (u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<DataImport Anno=\"2023\">\n"_s + imports
            + u"\n</DataImport>\n"_s)
        .toUtf8();
}

} // namespace

// Each row: the Field entries of the section "Prova", the source and target
// rows, the mode, the result, the target columns after the call ("X=" for
// empty) and the start of the one message reported, if any.
TEST(ImportXML, EntriesFollowTheirTypeOpAndOperations)
{
    TempDir dir;
    for (const QJsonValue &value :
         caseDocument(QStringLiteral(ELH_CASES_DIR "/import-xml.json"))[u"entries"_s].toArray()) {
        const QJsonObject c = value.toObject();
        SCOPED_TRACE(c[u"rule"_s].toString().toStdString());
        const QString file = dir.write(
            u"Import.xml"_s, definitions(u"<Import Section=\"Prova\">"_s + c[u"fields"_s].toString() + u"</Import>"_s));
        const auto source = row(u"cdsOrigine"_s, c[u"source"_s].toString());
        const auto target = row(u"cdsDestinazione"_s, c[u"target"_s].toString());
        FindingList findings;
        TImportXML engine(findings);
        engine.SetReverse(c[u"reverse"_s].toBool());
        engine.Vars(1) = u"S"_s;

        EXPECT_EQ(engine.Execute(u"prova"_s, file, *source, *target), c[u"result"_s].toBool());
        for (const QStringList &pair : values(c[u"expected"_s].toString()))
            EXPECT_EQ(target->fieldByName(pair[0]).asString(), pair.value(1)) << pair[0].toStdString();
        const QString message = c[u"message"_s].toString();
        if (message.isEmpty()) {
            EXPECT_EQ(findings.texts(), QStringList());
        } else {
            ASSERT_EQ(findings.entries().size(), 1);
            EXPECT_TRUE(findings.texts().first().startsWith(message)) << findings.texts().first().toStdString();
            const bool warning = message.startsWith(u"Errore nel campo");
            EXPECT_EQ(findings.entries().first().level, warning ? FindingLevel::Warning : FindingLevel::Error);
        }
        // The engine neither moves nor posts the target.
        EXPECT_EQ(target->state(), DataSetState::Edit);
    }
}

TEST(ImportXML, DefinitionsFileErrorsNameTheFileTheLineAndTheEntry)
{
    TempDir dir;
    const auto source = row(u"cdsOrigine"_s, u"STXT=A"_s);
    const auto target = row(u"cdsDestinazione"_s, QString());
    FindingList findings;
    TImportXML engine(findings);
    const auto run = [&](const QString &file) {
        findings.clear();
        const bool result = engine.Execute(u"Prova"_s, file, *source, *target);
        return result ? QString() : findings.texts().join(u'|');
    };

    const QString missing = dir.file(u"Manca.xml"_s);
    EXPECT_EQ(run(missing), u"File non presente o percorso errato:\n\r"_s + missing);
    const QJsonArray wrong = caseDocument(QStringLiteral(ELH_CASES_DIR "/import-xml.json"))[u"definitions"_s].toArray();
    for (qsizetype i = 0; i < wrong.size(); ++i) {
        const QJsonObject c = wrong[i].toObject();
        SCOPED_TRACE(c[u"rule"_s].toString().toStdString());
        const QString file = dir.write(u"Errato%1.xml"_s.arg(i), definitions(c[u"imports"_s].toString()));
        const QString message = run(file);
        EXPECT_TRUE(message.startsWith(c[u"message"_s].toString().arg(file))) << message.toStdString();
        EXPECT_TRUE(findings.hasErrors());
    }
    const QString root = dir.write(u"Radice.xml"_s, "<Import Section=\"Prova\"/>");
    EXPECT_TRUE(run(root).contains(u"l'elemento radice è «Import» invece di «DataImport»"_s));

    // A name no section has: false without a word.
    findings.clear();
    const QString good =
        dir.write(u"Buono.xml"_s,
                  definitions(u"<Import Section=\"Prova\"><Field ToField=\"SALT\" FromField=\"STXT\"/></Import>"_s));
    EXPECT_FALSE(engine.Execute(u"Nessuna"_s, good, *source, *target));
    EXPECT_TRUE(findings.isEmpty());
    EXPECT_EQ(run(good), QString());
    EXPECT_EQ(target->fieldByName(u"SALT"_s).asString(), u"A"_s);

    // The engine keeps the definitions it read while the file stays as it
    // was, and reads them again when it changes.
    QFile::remove(good);
    dir.write(
        u"Buono.xml"_s,
        definitions(
            u"<Import Section=\"Prova\"><Field ToField=\"SALT\" DefaultValue=\"nuovo\" TypeOf=\"s\"/></Import>"_s));
    EXPECT_EQ(run(good), QString());
    EXPECT_EQ(target->fieldByName(u"SALT"_s).asString(), u"nuovo"_s);
    EXPECT_THROW(engine.Vars(0), EAssertionFailed);
    EXPECT_THROW(engine.Vars(6), EAssertionFailed);
}
