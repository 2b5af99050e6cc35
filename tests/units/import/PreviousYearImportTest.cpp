#include "PreviousYearImport.h"
#include "ClientDataSet.h"
#include "Exceptions.h"
#include "ReturnDatabaseTest.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using Kind = PersonTables::Kind;

// The demo school: five employees and two self-employed workers this year;
// last year four employees (two of them still here) and two workers (one).
class PreviousYearImportTest : public ReturnDatabaseTest
{
protected:
    void SetUpOpened() override
    {
        ReturnDatabaseTest::SetUpOpened();
        loadDemo();
    }

    // "code|surname|group|domicile at the start of the year" of every person
    // of this year's registry, with whether the store gave him a person.
    QStringList people(Kind kind)
    {
        const PersonTables::Registry &r = PersonTables::registry(kind);
        const bool employees = kind == Kind::Employee;
        const auto ds = read(r.table);
        QStringList all;
        for (; !ds->eof(); ds->next()) {
            all.append(QStringList{ds->fieldByName(r.codeField).asString(), ds->fieldByName(r.surnameField).asString(),
                                   ds->fieldByName(r.groupField).asString(),
                                   ds->fieldByName(employees ? u"SDIP7DFCOMUNEPRECC"_s : u"SDAU7COMUNE"_s).asString(),
                                   ds->fieldByName(u"IAFIID"_s).isNull() ? u"-"_s : u"id"_s}
                           .join(u'|'));
        }
        all.sort();
        return all;
    }

    PreviousYearImport::Outcome fromStore(Kind kind) { return PreviousYearImport(store(), kind).fromStore(); }
};

ELH_INSTANTIATE_ON_BOTH_ENGINES(PreviousYearImportTest);

const QString kFerrari = u"FRRCHR88P63I921S|FERRARI|D|FOLIGNO|id"_s;
const QString kRomano = u"RMNPLA79S05D653K|ROMANO|D|TREVI|id"_s;

} // namespace

TEST_P(PreviousYearImportTest, LastYearsPeopleMissingHereAreAddedOnceWithTheirOwnData)
{
    const QStringList employees = people(Kind::Employee);
    const QStringList workers = people(Kind::SelfEmployed);
    ASSERT_EQ(employees.size(), 5);

    PreviousYearImport::Outcome outcome = fromStore(Kind::Employee);
    // Ferrari moved from Assisi to Foligno last year: she starts this one
    // in Foligno; the two already here keep their own record.
    QStringList expected = employees + QStringList{kFerrari, kRomano};
    expected.sort();
    EXPECT_EQ(people(Kind::Employee), expected);
    EXPECT_EQ(people(Kind::SelfEmployed), workers);
    EXPECT_EQ(PreviousYearImport::report(Kind::Employee, outcome),
              u"Anagrafica dei dipendenti dell'anno precedente: 4 letti.\nAggiunti alla dichiarazione: 2.\n"
              u"Già presenti: 2."_s);

    outcome = fromStore(Kind::Employee);
    EXPECT_EQ(outcome.added, 0);
    EXPECT_EQ(outcome.present, 4);
    EXPECT_EQ(people(Kind::Employee), expected);

    outcome = fromStore(Kind::SelfEmployed);
    EXPECT_EQ(outcome.read, 2);
    EXPECT_EQ(outcome.added, 1);
    EXPECT_TRUE(people(Kind::SelfEmployed).contains(u"CNTLNE84A57G478Y|CONTI|A|BEVAGNA|id"_s));
    // Last year's extinct agent is no part of this year's registry.
    const auto ds = read(u"TDAU7_DATIAUTONOM"_s);
    ASSERT_TRUE(ds->locate(u"SDAU7CODFIS"_s, u"CNTLNE84A57G478Y"_s));
    EXPECT_TRUE(ds->fieldByName(u"SSOE7CODICE"_s).asString().isEmpty());
}

TEST_P(PreviousYearImportTest, TheFilesExportedIntoAFolderServeAsLastYearsRegistry)
{
    const TempDir folder;
    PreviousYearImport import(store(), Kind::Employee);
    const QStringList before = people(Kind::Employee);
    for (const auto &[missing, message] :
         {std::pair{folder.file(u"altrove"_s), u"Il percorso selezionato non esiste\n\rScegliere un percorso valido"_s},
          std::pair{u" "_s, u"Il percorso selezionato non esiste\n\rScegliere un percorso valido"_s},
          std::pair{folder.path(), u"Non esistono i file nel percorso selezionato"_s}}) {
        try {
            import.fromFolder(missing);
            ADD_FAILURE() << "a folder without last year's registry was accepted";
        } catch (const Exception &e) {
            EXPECT_EQ(e.message(), message);
        }
    }
    EXPECT_EQ(people(Kind::Employee), before);

    // Last year's return as "Esporta dati " writes it, the file names in
    // capitals as older exports spelt them.
    store().exportAll(u"elh"_s, 2022, folder.path(), 0);
    ASSERT_TRUE(QFile::rename(folder.file(u"TDIP7_ANAGRFISCALI.cds"_s), folder.file(u"TDIP7_ANAGRFISCALI.CDS"_s)));
    const PreviousYearImport::Outcome outcome = import.fromFolder(folder.path());
    EXPECT_EQ(outcome.read, 4);
    EXPECT_EQ(outcome.added, 2);
    QStringList expected = before + QStringList{kFerrari, kRomano};
    expected.sort();
    EXPECT_EQ(people(Kind::Employee), expected);
}

TEST_P(PreviousYearImportTest, AFailureHalfWayLeavesTheRegistryAsItWasAndTheRunCanBeRepeated)
{
    const QStringList before = people(Kind::Employee);
    // Romano, of Trevi, comes after Ferrari: she is written before the store
    // refuses him.
    refuseStoredText(u"TREVI"_s);
    try {
        fromStore(Kind::Employee);
        ADD_FAILURE() << "the refused save was not reported";
    } catch (const EDatabaseError &e) {
        EXPECT_TRUE(e.message().contains(u"guasto simulato"_s)) << e.message().toStdString();
    }
    EXPECT_EQ(people(Kind::Employee), before);

    exec(GetParam() == Engine::SQLite ? u"DROP TRIGGER TR_GUASTO"_s : u"DROP TRIGGER TR_GUASTO ON TFIS_DATIFISCALI"_s);
    EXPECT_EQ(fromStore(Kind::Employee).added, 2);
}
