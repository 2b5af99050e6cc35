#include "THlmQueryText.h"
#include "ClientDataSet.h"
#include "Exceptions.h"
#include "HlmExceptions.h"
#include "NrFindings.h"
#include "NrQuery.h"
#include "TdmkbrConnessione.h"
#include "TempDir.h"
#include "TestInstallation.h"

#include <QCoreApplication>
#include <QFile>

#include <memory>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QByteArray kSource = R"(<?xml version="1.0"?>
<QueryText>
  <Riga Query="QRY_UNO" Tipo="SELECT"><![CDATA[ SELECT 1 ]]></Riga>
  <Riga Query="QRY_UNO" Tipo="EXECUTE" Indice="2">UPDATE T SET A = 1</Riga>
</QueryText>)";

// A store written from the source into a folder, as the build writes it.
QString writeStore(const TempDir &dir, const QByteArray &source, const QString &version = QStringLiteral(ELH_VERSION))
{
    ClientDataSet store;
    THlmQueryText::loadSource(store, source, u"prova.xml"_s, u"elh770"_s, version);
    const QString path = dir.file(u"kbr_QueryText.cds"_s);
    THlmQueryText::save(store, path);
    return path;
}

class QueryTextValidity : public testing::Test
{
protected:
    void SetUp() override
    {
        QCoreApplication::setApplicationName(u"elh770"_s);
        QCoreApplication::setApplicationVersion(QStringLiteral(ELH_VERSION));
    }
    // The store checked, loaded afresh from the folder unless asked to check
    // it again; every reason is an error.
    bool valid(bool again = false)
    {
        if (!again) {
            texts = std::make_unique<THlmQueryText>();
            texts->load(dir.path());
        }
        findings.clear();
        const bool valid = texts->checkValidity(u"Gestione emolumenti"_s, findings);
        EXPECT_EQ(findings.isEmpty(), valid);
        for (const Finding &f : findings.entries())
            EXPECT_EQ(f.level, FindingLevel::Error);
        return valid;
    }

    FindingList findings;
    TempDir dir;
    std::unique_ptr<THlmQueryText> texts;
};

const QString kCertificateMessage =
    u"Certificato query non trovato od errato. Aggiornare il programma \"Gestione emolumenti\""_s;

} // namespace

TEST(THlmQueryText, ABadSourceNamesTheLineAndTheFault)
{
    const struct
    {
        QByteArray xml;
        QString message;
    } cases[] = {
        {"<Query/>", u"Sorgente delle query «s.xml», riga 1: manca l'elemento «QueryText»"_s},
        {"<QueryText>\n<Riga Query=\"QRY_A\" Tipo=\"UPDATE\">X</Riga></QueryText>",
         u"Sorgente delle query «s.xml», riga 2: QRY_A: tipo «UPDATE» diverso da SELECT ed EXECUTE"_s},
        {"<QueryText>\n<Riga Query=\"SEL_A\" Tipo=\"SELECT\">X</Riga></QueryText>",
         u"Sorgente delle query «s.xml», riga 2: il nome «SEL_A» non inizia con QRY_"_s},
        {"<QueryText><Riga Query=\"QRY_A\" Tipo=\"SELECT\">X</Riga>\n<Riga Query=\"QRY_A\" "
         "Tipo=\"SELECT\">Y</Riga></QueryText>",
         u"Sorgente delle query «s.xml», riga 2: QRY_A (SELECT, indice 0) ripetuta"_s},
        {"<QueryText><Riga Query=\"QRY_A\" Tipo=\"SELECT\" Indice=\"x\">X</Riga></QueryText>",
         u"Sorgente delle query «s.xml», riga 1: QRY_A: indice non numerico"_s},
        {"<QueryText><Riga Query=\"QRY_A\" Tipo=\"SELECT\"> </Riga></QueryText>",
         u"Sorgente delle query «s.xml», riga 1: QRY_A: testo SQL vuoto"_s},
    };
    for (const auto &c : cases) {
        ClientDataSet store;
        try {
            THlmQueryText::loadSource(store, c.xml, u"s.xml"_s, u"elh770"_s, u"1.0.0.0"_s);
            ADD_FAILURE() << c.xml.constData();
        } catch (const EDatabaseError &e) {
            EXPECT_EQ(e.message(), c.message);
        }
    }
}

TEST(THlmQueryText, FormatFillsPlaceholdersInOrderAndRefusesAMismatch)
{
    EXPECT_EQ(THlmQueryText::format(u"A <%s B %s 100%%"_s, {u"="_s, u"x"_s}), u"A <= B x 100%"_s);
    EXPECT_EQ(THlmQueryText::format(u"A <%s B"_s, {QString()}), u"A < B"_s);
    EXPECT_THROW(THlmQueryText::format(u"A %s %s"_s, {u"1"_s}), EConvertError);
    EXPECT_THROW(THlmQueryText::format(u"A"_s, {u"1"_s}), EConvertError);
    EXPECT_THROW(THlmQueryText::format(u"LIKE 'a%'"_s, {}), EConvertError);
}

TEST_F(QueryTextValidity, OnlyAStoreWithItsCertificateOfThisVersionIsValidAndOnceOnly)
{
    EXPECT_FALSE(valid());
    EXPECT_EQ(findings.texts(), QStringList{kCertificateMessage});
    writeStore(dir, kSource);
    EXPECT_TRUE(valid());
    // The kept certificate is used once.
    EXPECT_FALSE(valid(true));
    EXPECT_EQ(findings.texts(), QStringList{kCertificateMessage});
    writeStore(dir, kSource, u"24.1.0.0"_s);
    QFile::rename(dir.file(u"kbr_QueryText.unxc"_s), dir.file(u"altro.unxc"_s));
    EXPECT_FALSE(valid());
    EXPECT_EQ(findings.texts(), QStringList{kCertificateMessage});
    QFile::rename(dir.file(u"altro.unxc"_s), dir.file(u"kbr_QueryText.unxc"_s));
    QCoreApplication::setApplicationVersion(u"24.1.0.1"_s);
    EXPECT_FALSE(valid());
    EXPECT_EQ(
        findings.texts(),
        QStringList{
            u"Versione delle query (24.1.0.0) diversa dalla versione del programma (24.1.0.1).\r\nAggiornare il programma."_s});
    // The four parts are compared as numbers.
    QCoreApplication::setApplicationVersion(u"24.01.0.0"_s);
    EXPECT_TRUE(valid());
    QCoreApplication::setApplicationName(u"altro"_s);
    EXPECT_FALSE(valid());
    EXPECT_EQ(
        findings.texts(),
        QStringList{
            u"Versione delle query (mancante) diversa dalla versione del programma (24.01.0.0).\r\nAggiornare il programma."_s});
}

TEST(THlmQueryText, StatementsAreFetchedByNameKindAndIndex)
{
    TestInstallation installation(Engine::SQLite);
    TdmkbrConnessione connection;
    THlmQueryText &texts = connection.queryText();
    TNrQuery q(connection);
    texts.fetch(u"QRY_PACO_ANF"_s, q, 0, u"SELECT"_s);
    EXPECT_TRUE(q.sql().contains(u"FROM TPACO_PARCONTABILI WHERE IANFID = :IANFID"_s));
    try {
        texts.fetch(u"QRY_PACO_ANF"_s, q, 0, u"EXECUTE"_s);
        FAIL() << "an EXECUTE statement QRY_PACO_ANF was found";
    } catch (const EAssertionFailed &e) {
        EXPECT_EQ(e.message(), u"Query: QRY_PACO_ANF"_s);
    }
    EXPECT_TRUE(q.sql().isEmpty());
    // EXECUTE is the kind when none is given; an index names a variant, and
    // one the statement lacks is refused.
    q.fetch(u"QRY_FIS_INSERISCI"_s);
    EXPECT_TRUE(q.sql().contains(u"DFISVALUE)\nVALUES %s"_s));
    EXPECT_THROW(q.fetch(u"QRY_FIS_INSERISCI"_s, 1), EAssertionFailed);
    EXPECT_THROW(q.fetch(u"qry_sed"_s, 0, u"SELECT"_s), EAssertionFailed);
}

TEST(THlmQueryText, ErrorsNameTheLastStatementExceptWarningsAndAssertions)
{
    TempDir dir;
    THlmQueryText texts;
    texts.load(dir.path());
    const EDatabaseError db(u"vincolo violato"_s);
    EXPECT_EQ(texts.decorate(db), u"vincolo violato"_s);
    TestInstallation installation(Engine::SQLite);
    TdmkbrConnessione connection;
    TNrQuery q(connection);
    q.fetch(u"QRY_SED"_s, 0, u"SELECT"_s);
    const THlmQueryText &loaded = connection.queryText();
    EXPECT_EQ(loaded.decorate(db), u"vincolo violato\r\nUltima operazione DB: QRY_SED"_s);
    EXPECT_EQ(loaded.decorate(EHlmWarning(u"attenzione"_s)), u"attenzione"_s);
    EXPECT_EQ(loaded.decorate(EHlmCalcola(u"calcolo"_s)), u"calcolo"_s);
    EXPECT_EQ(loaded.decorate(EAssertionFailed(u"Query: QRY_X"_s)), u"Query: QRY_X"_s);
}
