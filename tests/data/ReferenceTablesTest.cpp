#include "ClientDataSet.h"
#include "DeliveredData.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kTabelle = u"USR\\FL2023\\Res\\Tabelle\\"_s;

// The reference tables of the return, named as the program names them, and
// the table of annotation codes read by the CU import.
const QStringList kReferenceTables = {
    u"TCOA_CODCARICA.CDS"_s,        u"TTSA_STATO.CDS"_s,           u"TTSB_NATGIURIDIC.CDS"_s,
    u"TTSC_SITUAZIONE.CDS"_s,       u"TAT8_CODATECO.CDS"_s,        u"TTIN_TIPOLOGIAINVIO.CDS"_s,
    u"TTSO_SOGGETTO.CDS"_s,         u"TREG_REGIONI.CDS"_s,         u"TEEC_EVENTIECCEZIONALI.CDS"_s,
    u"TCNT_CASINONTRASMISSIONE.CDS"_s, u"TIPR_IMPEGNOPRESENTARETELEMATICA.CDS"_s, u"TTFO_TIPOFORNIT.CDS"_s,
    u"TCAU_CAUSALE.CDS"_s,          u"TCOD_CODICE.CDS"_s,          u"TCAP_CATPARTICOL.CDS"_s,
    u"TCAA_CAUSAA.CDS"_s,           u"TCAB_CAUSAB.CDS"_s,          u"TQUS_QUALIFICA.CDS"_s,
    u"TGES_GESTIONIASS.CDS"_s,      u"TTIM_TIPOIMPIEG.CDS"_s,      u"TTIS_TIPOSERVIZI.CDS"_s,
    u"TCAS_CASSACOMPET.CDS"_s,      u"TMAG_MAGGIORAZIO.CDS"_s,     u"TINQ_INQUADRAMENTO.CDS"_s,
    u"TCES_CAUSACESSAZ.CDS"_s,      u"TQAS_QUALASSICUR.CDS"_s,     u"TQOR_QUALORARIO.CDS"_s,
    u"TQCO_QUALCONTRAT.CDS"_s,      u"TCTP_TIPOCONTRAT.CDS"_s,     u"TTRP_TIPORAPPORT.CDS"_s,
    u"TTIP_TIPORETRPAR.CDS"_s,      u"TPRC_PREVCOMPLEM.CDS"_s,     u"TMES_MESI.CDS"_s,
    u"TCON_TIPOCONGUAG.CDS"_s,      u"TCRE_CONGRETTIFI.CDS"_s,     u"TESI_ESITO.CDS"_s,
    u"TECO_ESITOCONGUA.CDS"_s,      u"TCSP_CASIPARTICOLARI.CDS"_s, u"TCOD_CODONEREDETR.CDS"_s,
    u"TCOB_CODICEBONUSIRPEF.CDS"_s, u"TREC_REDDESTCOD.CDS"_s,      u"TCEP_CASIESCLPRECOMPILATA.CDS"_s,
    u"TRTI_CAUSALE.CDS"_s,          u"TRTI_TITOLO.CDS"_s,          u"TIST_TIPOISTRUZIONI.CDS"_s,
    u"TDIN_NOTEDI.CDS"_s,           u"TTIT_TIPOEROGAZ.cds"_s,      u"TTPR_TITPRESTAZ.cds"_s,
    u"TTIE_TITOLOEROGAZ.cds"_s,     u"TTI2_TITOLOEROGAZ2.cds"_s,   u"TTIE_TITEROINDEQ.cds"_s,
    u"TTAI_TIPOALTREIND.cds"_s,     u"TALQ_Aliquota.cds"_s,        u"TNIS_ISCRITTO.cds"_s,
    u"TDII_DIMENSIONEIMPRESA.cds"_s, u"TFGI_FORMAGIURIDICA.cds"_s, u"TSAS_SETTOREAIUTISTATO.cds"_s,
    u"TCAS_CODICEAIUTOSTATO.cds"_s, u"TCAS_CODAIUTOSX.cds"_s,      u"TTPY_TIPOLOGIAPROSPSY.cds"_s,
    u"TNOT_NOTE.cds"_s,             u"TNOT_NOTECOVID.cds"_s,       u"TNOT_NOTECOVIDST2.cds"_s,
    u"TNOV_NOTESV.cds"_s,           u"TNOV_NOTESVCOVID.cds"_s,     u"TCDI_DETINDET.cds"_s,
    u"TANN_ANNOTAZIONI.cds"_s,
};

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

TEST(DeliveredReferenceTables, EveryTableIsBuiltUnderItsExactName)
{
    const QDir folder(DeliveredData::path(kTabelle));
    ASSERT_TRUE(folder.exists()) << folder.path().toStdString();
    QStringList built = folder.entryList(QDir::Files);
    QStringList expected = kReferenceTables;
    built.sort();
    expected.sort();
    EXPECT_EQ(built.join(u' ').toStdString(), expected.join(u' ').toStdString());
}

TEST(DeliveredReferenceTables, TheCodeComesFirstAndEachCodeOnce)
{
    for (const QString &file : kReferenceTables) {
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

TEST(DeliveredReferenceTables, CodesHaveTheFormOfTheFieldsThatHoldThem)
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
}

TEST(DeliveredReferenceTables, QualificationsCarryTheColumnsThatFillTheInpdapSection)
{
    ClientDataSet ds;
    open(ds, kTabelle + u"TINQ_INQUADRAMENTO.CDS"_s);
    for (const QString &name : {u"CODCOMPARTO"_s, u"SOTTOCOMPARTO"_s, u"CODQUALIFICA"_s})
        EXPECT_NE(ds.findField(name), nullptr) << name.toStdString();
}
