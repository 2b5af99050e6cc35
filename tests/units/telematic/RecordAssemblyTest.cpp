#include "TelematicFixture.h"

#include "ClientDataSet.h"
#include "ElhURecordAssembly.h"
#include "ElhUXmlRec.h"
#include "TempDir.h"

#include <QDomDocument>

#include <map>

using namespace Qt::Literals::StringLiterals;

namespace {

template<class Root>
Root bind(const QByteArray &xml, Root (*bindRoot)(const QDomDocument &))
{
    QDomDocument doc;
    if (!doc.setContent(xml))
        throw std::runtime_error("bad test descriptor");
    return bindRoot(doc);
}

TXMLSectionEType sectionD(const QByteArray &fields)
{
    return bind(R"(<RecordE><SectionE><CampoE Number="1" Width="1" Format="AN" Info="OF" Fixed="D"/>)" + fields
                    + "</SectionE></RecordE>",
                GetRecordE)
        .Section(0);
}

TXMLSectionBType sectionB(const QByteArray &fields)
{
    return bind("<RecordB><SectionB>" + fields + "</SectionB></RecordB>", GetRecordB).Section(0);
}

class RecordAssemblyTest : public TelematicTest
{
protected:
    // The data module on what the test added, and an assembly whose progress
    // lines go to `lines`.
    RecordAssembly &open()
    {
        openWizard();
        m_assembly = std::make_unique<RecordAssembly>(dm(), findings);
        m_assembly->setProgress([this](const QString &line) { lines.append(line); });
        return *m_assembly;
    }

    // The stored elements, or the finished records.
    QStringList texts(ClientDataSet &ds, const QString &field)
    {
        QStringList list;
        for (ds.first(); !ds.eof(); ds.next())
            list.append(ds.fieldByName(field).asString());
        return list;
    }
    QStringList stored() { return texts(dm().cdsFieldFile, u"SFIFIRECORD"_s); }
    QStringList records() { return texts(dm().cdsFileTel, u"SFILERECORD"_s); }

    QStringList lines;

private:
    std::unique_ptr<RecordAssembly> m_assembly;
};

TEST_F(RecordAssemblyTest, CharactersOutsideTheCodePageTakeOneByteEachAndCutTextsAreReportedWithTheirPlace)
{
    add(u"TPST3_PROSPETTOSTS3"_s, R"({"records": [{"SPST3DENINTNRES": "ŁÓDŹ BANK 🏦"}]})");
    add(u"TSOS_DATOSOSTITUTO"_s, R"({"records": [{"SSOSDENOM": "SZKOŁA ŁÓDŹ", "SSOSCOMNASRAPPR": "SAN GIOVANNI"}]})");
    RecordAssembly &a = open();
    a.setProgressive(3);
    a.emitSection(sectionD(R"(<CampoE Number="ST026004" Description="Denominazione" Width="16" Format="AN" Info="@@"
                              Cds="cdsPrSt3" Field="SPST3DENINTNRES"/>)"),
                  0);
    // The emoji, two UTF-16 units, is one character of the file.
    EXPECT_EQ(stored(), (QStringList{u"D"_s, u"ST026004?ÓD? BANK ?`````"_s}));

    a.beginPositional();
    a.appendPositional(sectionB(R"(
        <CampoB Number="15" Description="Denominazione" Width="12" Format="AN" Info="O@" Cds="cdssost" Field="SSOSDENOM"/>
        <CampoB Number="45" Description="Comune" Width="10" Format="AN" Info="O@" Cds="cdsSost" Field="SSOSCOMNASRAPPR"/>
        <CampoB Number="99" Width="1876" Format="AN" Info="OF" Fixed="A"/>)"));
    a.finishPositional(u'B');
    EXPECT_EQ(records().value(0).left(22), u"SZKO?A ?ÓD? SAN GIOVAN");
    EXPECT_EQ(lines, (QStringList{u"Attenzione - record D, Prospetto ST, rigo ST26 del modulo 3, campo ST026004 "
                                  u"(Denominazione): il valore «ŁÓDŹ BANK 🏦» contiene caratteri non ammessi nel file, "
                                  u"scritti come «?»"_s,
                                  u"Attenzione - record B, campo 15 (Denominazione): il valore «SZKOŁA ŁÓDŹ» contiene "
                                  u"caratteri non ammessi nel file, scritti come «?»"_s,
                                  u"Attenzione - record B, campo 45 (Comune): il valore «SAN GIOVANNI» supera i "
                                  u"caratteri del campo ed è stato troncato"_s}));
}

TEST_F(RecordAssemblyTest, EmptyElementsAndUntickedBoxesAreLeftOutOfRecordDButRecordJWritesDefaultsForZeros)
{
    add(u"TPST_PROSPETTOST"_s, R"({"records": [{"LPSTRAVVEDIMENTO": "0", "SNOTCODICE": "  "}]})");
    add(u"TPSS_PROSPETTOSS"_s, R"({"records": [{"FQUADROSYRIT1_SS": "0", "FQUADROSYRIT2_SS": "-2.7"}]})");
    RecordAssembly &a = open();
    a.emitSection(sectionD(R"(
        <CampoE Number="5" Description="Filler" Width="3" Format="AN" Info="OF"/>
        <CampoE Number="STXXX009" Width="16" Format="CB" Info="@@" Cds="cdsPrSt" Field="LPSTRAVVEDIMENTO"/>
        <CampoE Number="STXXX010" Width="16" Format="AN" Info="@@" Cds="cdsPrSt" Field="SNOTCODICE"/>
        <CampoE Number="STXXX012" Width="16" Format="N1" Info="OF" Fixed="0"/>
        <CampoE Number="SXXXX031" Width="16" Format="CB" Info="OF" Fixed="1" Cds="cdsPrSx"/>
        <CampoE Number="STXXX013" Width="16" Format="N1" Info="OF" Fixed="4"/>)"),
                  0);
    // The blank positional field stays; the blank note, the unticked box, the
    // zero N1 and the box of an SX without rows go.
    EXPECT_EQ(stored(), (QStringList{u"D"_s, u"```"_s, u"STXXX013               4"_s}));

    dm().cdsFieldFile.emptyDataSet();
    const TXMLRecordJType j = bind(R"(<RecordJ><SectionJ Repeat="NO" Cds="cdsPrSs">
        <CampoJ Number="1" Width="1" Format="AN" Info="OF" Fixed="J"/>
        <CampoJ Number="5" Width="1" Format="AN" Info="OF"/>
        <CampoJ Number="SS002001" Width="16" Format="NP" Info="A@" Field="FQUADROSYRIT1_SS"/>
        <CampoJ Number="SS002002" Width="16" Format="NP" Info="A@" Fixed="7" Field="FQUADROSYRIT1_SS"/>
        <CampoJ Number="SS002003" Width="16" Format="NP" Info="A@" Field="FQUADROSYRIT2_SS"/></SectionJ></RecordJ>)",
                                   GetRecordJ);
    a.emitSection(j.Section(0), 0);
    EXPECT_EQ(stored(), (QStringList{u"J"_s, u"`"_s, u"SS002002               7"_s, u"SS002003              -2"_s}));

    const TXMLRecordJType missing = bind(R"(<RecordJ><SectionJ Repeat="YES" Cds="cdsPrSs9">
        <CampoJ Number="SS001001" Width="16" Format="AN" Info="@@" Field="SSOE7CODICE"/></SectionJ></RecordJ>)",
                                         GetRecordJ);
    EXPECT_EQ(errorOf([&] { a.EmitLayoutField(missing.Section(0), 1, 0); }), u"Sezione non trovata cdsPrSs9");
}

TEST_F(RecordAssemblyTest, ARecordOfTheWrongLengthStopsWithTheKindTheLengthAndTheFieldToBlame)
{
    RecordAssembly &a = open();
    a.emitSection(sectionD(R"(<CampoE Number="DIXXX001" Width="1900" Format="NU" Info="OF" Fixed="1"/>)"), 1);
    EXPECT_EQ(errorOf([&] { a.AssembleFieldRecords(u'D', 1); }),
              u"Il record D è lungo 1910 caratteri invece di 1898: il descrittore del record va corretto");
    EXPECT_TRUE(records().isEmpty());

    // A positional buffer takes fields while it holds fewer than 1,900 characters.
    a.beginPositional();
    a.appendPositional(sectionB(R"(<CampoB Number="1" Width="1899" Format="AN" Info="OF"/>
        <CampoB Number="2" Width="5" Format="AN" Info="OF" Fixed="ABCDE"/>
        <CampoB Number="3" Width="3" Format="AN" Info="OF" Fixed="XYZ"/>)"));
    EXPECT_EQ(told(), QStringList{u"Informazione: Supera i 1900 caratteri"_s});
    EXPECT_EQ(errorOf([&] { a.finishPositional(u'A'); }),
              u"Il record A è lungo 1904 caratteri invece di 1898: il descrittore del record va corretto");

    // A value that does not fill its field is named as the cause.
    a.beginPositional();
    a.appendPositional(sectionB(R"(
        <CampoB Number="18" Description="Data di nascita" Width="8" Format="DT" Info="OF" Fixed="0.00.00"/>
        <CampoB Number="99" Width="1890" Format="AN" Info="OF"/>)"));
    EXPECT_EQ(errorOf([&] { a.finishPositional(u'B'); }),
              u"Il record B è lungo 1890 caratteri invece di 1898: il campo 18 (Data di nascita) con il valore "
              u"«0.00.00» occupa 0 caratteri invece di 8.");
}

TEST_F(RecordAssemblyTest, AControlCharacterStopsAPositionalRecordWithItsPlace)
{
    add(u"TSOS_DATOSOSTITUTO"_s, R"({"records": [{"SSOSDENOM": "SCUOLA"}]})");
    RecordAssembly &a = open();
    // As an older program could have left it, past the checks of data entry.
    dm().cdsSost.edit();
    dm().cdsSost.fieldByName(u"SSOSDENOM"_s).setAsString(u"SCUOLA\nROSSI"_s);
    dm().cdsSost.post();
    a.beginPositional();
    EXPECT_EQ(errorOf([&] {
                  a.appendPositional(sectionB(R"(<CampoB Number="15" Description="Denominazione" Width="60"
                                                 Format="AN" Info="O@" Cds="cdsSost" Field="SSOSDENOM"/>)"));
              }),
              u"Record B, campo 15 (Denominazione): il valore «SCUOLA<LF>ROSSI» contiene un carattere di controllo "
              u"(LF) che non può essere scritto nel file. Correggere il valore e generare di nuovo il file."_s);
}

TEST_F(RecordAssemblyTest, AControlCharacterOrAValueTooLongForItsElementStopsStage1WithItsPlace)
{
    addDemoFrontispiece();
    add(u"TSOE7_SOSESTINTO"_s, R"({"records": [{"CODICE": "82009870542"}]})");
    add(u"TPST_PROSPETTOST"_s, R"({"records": [{"SPSTMESE": "01", "SPSTANNO": "2023"}]})");
    for (const QStringList &c : caseRows(u"element-refusals.txt"_s)) {
        FileWizard &w = openWizard();
        ClientDataSet &st = dm().cdsPrSt;
        st.edit();
        st.fieldByName(c[0]).setAsString(c[1]);
        st.fieldByName(u"SSOE7CODICE"_s).setAsString(c[2]);
        st.post();
        EXPECT_EQ(w.createFile(), FileWizard::Outcome::Failed);
        EXPECT_EQ(w.memo().last(), u"***** "_s + c[3] + u"Correggere il valore e generare di nuovo il file."_s);
    }
}

TEST(LayoutDescriptor, ErrorsNameTheFileTheLineAndTheElement)
{
    TempDir dir;
    const std::map<QChar, std::function<void(const QString &)>> load{
        {u'A', LoadRecordA}, {u'B', LoadRecordB}, {u'E', LoadRecordE}, {u'J', LoadRecordJ}, {u'Z', LoadRecordZ}};
    for (const QStringList &c : caseRows(u"descriptors.txt"_s)) {
        const QString path = c[2] == u"-" ? dir.file(c[1]) : dir.write(c[1], c[2].toUtf8());
        EXPECT_TRUE(errorOf([&] { load.at(c[0][0])(path); }).startsWith(QString(c[3]).replace(u"{file}"_s, path)))
            << c[1].toStdString();
    }
}

} // namespace
