#include "ElhUImportXML.h"

#include "ClientDataSet.h"
#include "Exceptions.h"
#include "NrMessages.h"
#include "TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// "FIMP=12;STXT=a": the columns of a row.
QList<QStringList> values(const char16_t *text)
{
    QList<QStringList> pairs;
    for (const QString &pair : QString::fromUtf16(text).split(u';', Qt::SkipEmptyParts))
        pairs.append(pair.split(u'='));
    return pairs;
}

// Source and target share their columns, so that reverse mode can read
// ToField from the source. The target is left in edit state, as callers do.
std::unique_ptr<ClientDataSet> row(const QString &name, const char16_t *text)
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

QString section(const QString &fields)
{
    return u"<Import Section=\"Prova\">"_s + fields + u"</Import>"_s;
}

struct Case
{
    const char *rule;
    const char16_t *fields; // the Field entries of the section "Prova"
    const char16_t *source;
    const char16_t *target; // before the call
    bool reverse;
    bool result;
    const char16_t *expected; // target columns after the call; "X=" for empty
    const char16_t *message;  // the start of the one message shown, or none
};

} // namespace

TEST(ImportXML, EntriesFollowTheirTypeOpAndOperations)
{
    // clang-format off
    const Case cases[] = {
        {"a zero amount leaves the column empty",
         uR"d(<Field Index="1" FromField="FIMP" ToField="FIMP" TypeOf="c" DefaultValue="0"/>)d",
         u"", u"FIMP=12", false, true, u"FIMP=", u""},
        {"sum adds to the column, an empty Op overwrites it, sub takes the column from the new value",
         uR"d(<Field Index="1" FromField="FIMP" ToField="FIMP" TypeOf="C" Op="SUM"/>
             <Field Index="2" FromField="FIMP" ToField="FALT" TypeOf="c"/>
             <Field Index="3" FromField="FALT" ToField="IQTA" TypeOf="i" Op="sub"/>)d",
         u"FIMP=50;FALT=30", u"FIMP=100;FALT=100;IQTA=100", false, true, u"FIMP=150;FALT=50;IQTA=-70", u""},
        {"amounts add exactly, with four decimals",
         uR"d(<Field Index="1" FromField="STXT" ToField="FIMP" TypeOf="c" Op="+"/>)d",
         u"STXT=0,1", u"FIMP=1234567890,2", false, true, u"FIMP=1234567890,3", u""},
        {"a check flag is 1 only for X and 1; not is 1 when both values are 1",
         uR"d(<Field Index="1" FromField="STXT" ToField="STXT" TypeOf="x"/>
             <Field Index="2" FromField="SALT" ToField="SALT" TypeOf="X"/>
             <Field Index="3" FromField="LFLAG" ToField="LFLAG" TypeOf="x" Op="not"/>
             <Field Index="4" DefaultValue="1" ToField="IQTA" TypeOf="x" Op="NOT"/>)d",
         u"STXT=X;SALT=x;LFLAG=1", u"LFLAG=1;IQTA=7", false, true, u"STXT=1;SALT=0;LFLAG=1;IQTA=0", u""},
        {"a variable serves as default of an empty source; case conversion",
         uR"d(<Field Index="1" FromField="STXT" ToField="STXT" TypeOf="s" DefaultValue="VAR(1)" StringCase="lower"/>
             <Field Index="2" FromField="SALT" ToField="SALT" TypeOf="s" StringCase="u"/>
             <Field Index="3" ToField="LFLAG" TypeOf="string" DefaultValue="var(1)x"/>)d",
         u"SALT=àbc", u"STXT=prima", false, true, u"STXT=s;SALT=ÀBC;LFLAG=S", u""},
        {"a text that is no literal of the type takes the default, else the type's zero; other types copy the text",
         uR"d(<Field Index="1" FromField="STXT" ToField="DDATA" TypeOf="d" DefaultValue="31/12/2023"/>
             <Field Index="2" FromField="STXT" ToField="IQTA" TypeOf="i" DefaultValue="nove"/>
             <Field Index="3" FromField="SALT" ToField="FIMP" TypeOf="c" DefaultValue="2,5"/>
             <Field Index="4" FromField="LFLAG" ToField="LFLAG" TypeOf="z" DefaultValue="D"/>)d",
         u"STXT=2023-02-30;SALT=1.00", u"IQTA=4;LFLAG=1", false, true, u"DDATA=31/12/2023;IQTA=;FIMP=2,5;LFLAG=", u""},
        {"operations run in order; OnlyIfNull true applies while the value is 0, any other text never",
         uR"d(<Field Index="1" FromField="FIMP" ToField="FIMP" TypeOf="c">
               <Operation TypeOf="equal" Field="FALT" Source="IN" OnlyIfNull="true"/>
               <Operation TypeOf="add" Field="FALT" Source="out" OnlyIfNull="TRUE"/>
               <Operation TypeOf="mul" Field="IQTA" Source="in"/>
               <Operation TypeOf="sub" Field="FALT" Source="in" OnlyIfNull="false"/>
               <Operation TypeOf="div" Field="STXT" Source="in"/></Field>
             <Field Index="2" FromField="FALT" ToField="FALT" TypeOf="c">
               <Operation TypeOf="div" Field="IQTA"/><Operation TypeOf="Max" Field="FIMP" Source="in"/></Field>
             <Field Index="3" FromField="IQTA" ToField="IQTA" TypeOf="i">
               <Operation TypeOf="div" Field="STXT" Source="in"/><Operation TypeOf="min" Field="FALT" Source="in"/></Field>)d",
         u"FALT=7,5;IQTA=3;STXT=2", u"FALT=99", false, true, u"FIMP=11,25;FALT=8;IQTA=2", u""},
        {"reverse mode reads ToField from the source and ignores the operations",
         uR"d(<Field Index="1" FromField="FALT" ToField="FIMP" TypeOf="c" Op="sum">
               <Operation TypeOf="mul" Field="IQTA" Source="in"/></Field>)d",
         u"FIMP=10;FALT=99;IQTA=3", u"FIMP=5", true, true, u"FIMP=15", u""},
        {"a required source, empty with an empty default, stops the section",
         uR"d(<Field Index="1" FromField="SALT" ToField="SALT" TypeOf="s" Required="tRUE" DefaultValue="-"/>
             <Field Index="2" FromField="STXT" ToField="STXT" TypeOf="s" Required="true" Descr="Cognome"/>
             <Field Index="3" FromField="FIMP" ToField="FIMP" TypeOf="c"/>)d",
         u"FIMP=1", u"", false, false, u"SALT=-;FIMP=",
         u"Campo richiesto non presente: \n\rIndice:      2\n\rDescrizione: Cognome"},
        {"an entry without a target column",
         uR"d(<Field Index="7" FromField="STXT" Descr="Nome"/>)d",
         u"", u"", false, false, u"", u"Campo di destinazione non compilato: \n\rIndice:      7\n\rDescrizione: Nome"},
        {"a source column the source does not have",
         uR"d(<Field Index="8" FromField="SNESSUNO" ToField="STXT" Descr="Altro"/>)d",
         u"", u"", false, false, u"", u"Campo di acquisizione non trovato: SNESSUNO\n\rIndice:      8\n\rDescrizione: Altro"},
        {"an error while writing is a warning naming the entry and the error",
         uR"d(<Field Index="9" FromField="STXT" ToField="FNESSUNO" TypeOf="s" Descr="Importo"/>)d",
         u"STXT=1", u"", false, false, u"",
         u"Errore nel campo: STXT\n\rIndice:      9\n\rDescrizione: Importo\n\rErrore: Campo «FNESSUNO» non trovato nel dataset cdsDestinazione"},
        {"a text its target cannot keep whole is refused, never cut",
         uR"d(<Field Index="11" FromField="SALT" ToField="LFLAG" TypeOf="s" Descr="Flag"/>)d",
         u"SALT=SI", u"", false, false, u"LFLAG=",
         u"Errore nel campo: SALT\n\rIndice:      11\n\rDescrizione: Flag\n\rErrore: il valore «SI» è lungo 2 caratteri: "
         u"il campo ne ammette 1"},
        {"an operand that is no number fails the entry",
         uR"d(<Field Index="10" FromField="FIMP" ToField="FIMP" TypeOf="c"><Operation TypeOf="add" Field="STXT" Source="in"/></Field>)d",
         u"FIMP=1;STXT=dieci", u"", false, false, u"FIMP=",
         u"Errore nel campo: FIMP\n\rIndice:      10\n\rDescrizione: \n\rErrore: 'dieci' non è un numero valido"},
        {"a section named twice runs twice; the result is the last one's",
         uR"d(<Field Index="1" FromField="FIMP" ToField="FIMP" TypeOf="c" Op="sum"/></Import>
             <Import Section="PROVA"><Field Index="2" FromField="FIMP" ToField="FIMP" TypeOf="c" Op="sum"/>)d",
         u"FIMP=2", u"", false, true, u"FIMP=4", u""},
        {"a failing first section does not stop the second",
         uR"d(<Field Index="1" FromField="SNESSUNO" ToField="STXT"/></Import>
             <Import Section="prova"><Field Index="2" FromField="FIMP" ToField="FIMP" TypeOf="c"/>)d",
         u"FIMP=2", u"", false, true, u"FIMP=2", u"Campo di acquisizione non trovato: SNESSUNO"},
    };
    // clang-format on

    TempDir dir;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.rule);
        const QString file = dir.write(u"Import.xml"_s, definitions(section(QString::fromUtf16(c.fields))));
        const auto source = row(u"cdsOrigine"_s, c.source);
        const auto target = row(u"cdsDestinazione"_s, c.target);
        ScriptedMessageService messages;
        const MessageServiceScope scope(&messages);
        TImportXML engine;
        engine.SetReverse(c.reverse);
        engine.Vars(1) = u"S"_s;

        EXPECT_EQ(engine.Execute(u"prova"_s, file, *source, *target), c.result);
        for (const QStringList &pair : values(c.expected))
            EXPECT_EQ(target->fieldByName(pair[0]).asString(), pair.value(1)) << pair[0].toStdString();
        const QString message = QString::fromUtf16(c.message);
        if (message.isEmpty()) {
            EXPECT_EQ(messages.texts(), QStringList());
        } else {
            ASSERT_EQ(messages.messages().size(), 1);
            EXPECT_TRUE(messages.texts().first().startsWith(message)) << messages.texts().first().toStdString();
            const bool warning = message.startsWith(u"Errore nel campo");
            EXPECT_EQ(messages.messages().first().type, warning ? MsgDlgType::Warning : MsgDlgType::Error);
        }
        // The engine neither moves nor posts the target.
        EXPECT_EQ(target->state(), DataSetState::Edit);
    }
}

TEST(ImportXML, DefinitionsFileErrorsNameTheFileTheLineAndTheEntry)
{
    TempDir dir;
    const auto source = row(u"cdsOrigine"_s, u"STXT=A");
    const auto target = row(u"cdsDestinazione"_s, u"");
    ScriptedMessageService messages;
    const MessageServiceScope scope(&messages);
    TImportXML engine;
    const auto run = [&](const QString &file) {
        messages.clear();
        const bool result = engine.Execute(u"Prova"_s, file, *source, *target);
        return result ? QString() : messages.texts().join(u'|');
    };

    const QString missing = dir.file(u"Manca.xml"_s);
    EXPECT_EQ(run(missing), u"File non presente o percorso errato:\n\r"_s + missing);

    const QString broken = dir.write(
        u"Rotto.xml"_s,
        definitions(section(u"<Field Index=\"1\" ToField=\"STXT\"/>\n<Field Index=\"2\" FromField=\"STXT\">"_s)));
    EXPECT_TRUE(
        run(broken).startsWith(u"Definizioni di importazione «"_s + broken
                               + u"» non valide (XML malformato), riga 4, colonna 43, sezione «Prova», voce «2»: "_s))
        << run(broken).toStdString();

    const QString slot =
        dir.write(u"Variabile.xml"_s,
                  definitions(u"<Import Section=\"Altra\"/>\n"_s
                              + section(u"\n<Field Index=\"4\" ToField=\"STXT\" DefaultValue=\"var(6)\"/>"_s)));
    EXPECT_EQ(run(slot), u"Definizioni di importazione «"_s + slot
                             + u"», riga 5, sezione «Prova», voce «4»: il valore predefinito «var(6)» richiama una "
                               "variabile che non esiste (sono ammesse da var(1) a var(5))"_s);
    EXPECT_EQ(messages.messages().first().type, MsgDlgType::Error);

    const QString root = dir.write(u"Radice.xml"_s, "<Import Section=\"Prova\"/>");
    EXPECT_TRUE(run(root).contains(u"l'elemento radice è «Import» invece di «DataImport»"_s));

    // A name no section has: false without a word.
    messages.clear();
    const QString good =
        dir.write(u"Buono.xml"_s, definitions(section(u"<Field ToField=\"SALT\" FromField=\"STXT\"/>"_s)));
    EXPECT_FALSE(engine.Execute(u"Nessuna"_s, good, *source, *target));
    EXPECT_TRUE(messages.messages().isEmpty());
    EXPECT_EQ(run(good), QString());
    EXPECT_EQ(target->fieldByName(u"SALT"_s).asString(), u"A"_s);

    // The engine keeps the definitions it read while the file stays as it
    // was, and reads them again when it changes.
    QFile::remove(good);
    dir.write(u"Buono.xml"_s, definitions(section(u"<Field ToField=\"SALT\" DefaultValue=\"nuovo\" TypeOf=\"s\"/>"_s)));
    EXPECT_EQ(run(good), QString());
    EXPECT_EQ(target->fieldByName(u"SALT"_s).asString(), u"nuovo"_s);
    EXPECT_THROW(engine.Vars(0), EAssertionFailed);
    EXPECT_THROW(engine.Vars(6), EAssertionFailed);
}
