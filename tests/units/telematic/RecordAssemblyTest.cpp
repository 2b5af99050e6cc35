#include "TelematicFixture.h"

#include "ClientDataSet.h"
#include "ElhURecordAssembly.h"
#include "ElhUXmlRec.h"

#include <QDomDocument>

using namespace Qt::Literals::StringLiterals;

namespace {

template<class Root, class Bind>
Root bind(const QByteArray &xml, Bind bindRoot)
{
    QDomDocument doc;
    if (!doc.setContent(xml))
        throw std::runtime_error("bad test descriptor");
    return bindRoot(doc);
}

TXMLRecordEType recordE(const QByteArray &sections)
{
    return bind<TXMLRecordEType>("<RecordE>" + sections + "</RecordE>", GetRecordE);
}

TXMLRecordJType recordJ(const QByteArray &sections)
{
    return bind<TXMLRecordJType>("<RecordJ>" + sections + "</RecordJ>", GetRecordJ);
}

// The header field that sets the record type.
const QByteArray kTypeD = R"(<CampoE Number="1" Width="1" Format="AN" Info="OF" Fixed="D"/>)";

class RecordAssemblyTest : public TelematicTest
{
protected:
    RecordAssembly &assembly() { return wizard().assembly(); }

    QStringList stored()
    {
        QStringList texts;
        ClientDataSet &ff = dm().cdsFieldFile;
        for (ff.first(); !ff.eof(); ff.next())
            texts.append(ff.fieldByName(u"SFIFIRECORD"_s).asString());
        return texts;
    }

    QStringList records()
    {
        QStringList texts;
        ClientDataSet &ft = dm().cdsFileTel;
        for (ft.first(); !ft.eof(); ft.next())
            texts.append(ft.fieldByName(u"SFILERECORD"_s).asString());
        return texts;
    }

    void emitAll(const TXMLRecordEType &root, int moduleNumber = 0)
    {
        for (int s = 0; s < root.Count(); ++s)
            assembly().emitSection(root.Section(s), moduleNumber);
    }
};

TEST_F(RecordAssemblyTest, AnElementsCharactersOutsideTheCodePageTakeOneByteEachAndAreReportedWithItsPlace)
{
    add(u"TPST3_PROSPETTOSTS3"_s, R"({"records": [{"SPST3DENINTNRES": "ŁÓDŹ BANK 🏦"}]})");
    openWizard();
    QStringList lines;
    wizard().setProgress([&](const QString &line) { lines.append(line); });
    assembly().setProgressive(3);
    emitAll(recordE("<SectionE>" + kTypeD + R"(<CampoE Number="ST026004" Description="Denominazione" Width="16"
                    Format="AN" Info="@@" Cds="cdsPrSt3" Field="SPST3DENINTNRES"/></SectionE>)"));
    // The emoji, two UTF-16 units, is one character of the file.
    EXPECT_EQ(stored(), (QStringList{u"D"_s, u"ST026004?ÓD? BANK ?`````"_s}));
    EXPECT_EQ(lines, QStringList{u"Attenzione - record D, Prospetto ST, rigo ST26 del modulo 3, campo ST026004 "
                                 u"(Denominazione): il valore «ŁÓDŹ BANK 🏦» contiene caratteri non ammessi nel file, "
                                 u"scritti come «?»"_s});
}

TEST_F(RecordAssemblyTest, EmptyElementsAndUntickedBoxesAreLeftOut)
{
    add(u"TPST_PROSPETTOST"_s, R"({"records": [{"LPSTRAVVEDIMENTO": "0", "SNOTCODICE": "  "}]})");
    openWizard();
    emitAll(recordE("<SectionE>" + kTypeD + R"(
        <CampoE Number="5" Description="Filler" Width="3" Format="AN" Info="OF"/>
        <CampoE Number="STXXX009" Width="16" Format="CB" Info="@@" Cds="cdsPrSt" Field="LPSTRAVVEDIMENTO"/>
        <CampoE Number="STXXX010" Width="16" Format="AN" Info="@@" Cds="cdsPrSt" Field="SNOTCODICE"/>
        <CampoE Number="STXXX012" Width="16" Format="N1" Info="OF" Fixed="0"/>
        <CampoE Number="SXXXX031" Width="16" Format="CB" Info="OF" Fixed="1" Cds="cdsPrSx"/>
        <CampoE Number="STXXX013" Width="16" Format="N1" Info="OF" Fixed="4"/></SectionE>)"));
    // The blank positional field stays; the blank note, the unticked box, the
    // zero N1 and the box of an SX without rows go.
    EXPECT_EQ(stored(), (QStringList{u"D"_s, u"```"_s, u"STXXX013               4"_s}));
}

TEST_F(RecordAssemblyTest, RecordJKeepsBlankElementsAndWritesDefaultsForZeros)
{
    add(u"TPSS_PROSPETTOSS"_s, R"({"records": [{"FQUADROSYRIT1_SS": "0", "FQUADROSYRIT2_SS": "-2.7"}]})");
    openWizard();
    const TXMLRecordJType root = recordJ(R"(<SectionJ Repeat="NO" Cds="cdsPrSs">
        <CampoJ Number="1" Width="1" Format="AN" Info="OF" Fixed="J"/>
        <CampoJ Number="5" Width="1" Format="AN" Info="OF"/>
        <CampoJ Number="SS002001" Width="16" Format="NP" Info="A@" Field="FQUADROSYRIT1_SS"/>
        <CampoJ Number="SS002002" Width="16" Format="NP" Info="A@" Fixed="7" Field="FQUADROSYRIT1_SS"/>
        <CampoJ Number="SS002003" Width="16" Format="NP" Info="A@" Field="FQUADROSYRIT2_SS"/></SectionJ>)");
    assembly().emitSection(root.Section(0), 0);
    EXPECT_EQ(stored(), (QStringList{u"J"_s, u"`"_s, u"SS002002               7"_s, u"SS002003              -2"_s}));
}

TEST_F(RecordAssemblyTest, ASectionDatasetThatDoesNotExistStopsTheRun)
{
    openWizard();
    const TXMLRecordJType root = recordJ(R"(<SectionJ Repeat="YES" Cds="cdsPrSs9">
        <CampoJ Number="SS001001" Width="16" Format="AN" Info="@@" Field="SSOE7CODICE"/></SectionJ>)");
    EXPECT_EQ(errorOf([&] { assembly().EmitLayoutField(root.Section(0), 1, 0); }), u"Sezione non trovata cdsPrSs9");
}

TEST_F(RecordAssemblyTest, AnElementThatOverflowsARecordStopsWithTheKindAndTheLength)
{
    openWizard();
    const TXMLRecordEType root =
        recordE("<SectionE>" + kTypeD + R"(<CampoE Number="DIXXX001" Width="1900" Format="NU" Info="OF" Fixed="1"/>
                                         </SectionE>)");
    assembly().emitSection(root.Section(0), 1);
    EXPECT_EQ(errorOf([&] { assembly().AssembleFieldRecords(u'D', 1); }),
              u"Il record D è lungo 1910 caratteri invece di 1898: il descrittore del record va corretto");
    EXPECT_TRUE(records().isEmpty());
}

TEST_F(RecordAssemblyTest, APositionalRecordTakesFieldsUntilItHolds1900Characters)
{
    openWizard();
    const TXMLRecordAType root = bind<TXMLRecordAType>(R"(<RecordA><SectionA>
        <CampoA Number="1" Width="1899" Format="AN" Info="OF"/>
        <CampoA Number="2" Width="5" Format="AN" Info="OF" Fixed="ABCDE"/>
        <CampoA Number="3" Width="3" Format="AN" Info="OF" Fixed="XYZ"/></SectionA></RecordA>)",
                                                       GetRecordA);
    RecordAssembly &a = assembly();
    a.beginPositional();
    a.appendPositional(root.Section(0));
    EXPECT_EQ(messages.texts(), QStringList{u"Supera i 1900 caratteri"_s});
    EXPECT_EQ(errorOf([&] { a.finishPositional(u'A'); }),
              u"Il record A è lungo 1904 caratteri invece di 1898: il descrittore del record va corretto");

    // A value that does not fill its field is named as the cause.
    const TXMLRecordBType b = bind<TXMLRecordBType>(R"(<RecordB><SectionB>
        <CampoB Number="18" Description="Data di nascita" Width="8" Format="DT" Info="OF" Fixed="0.00.00"/>
        <CampoB Number="99" Width="1890" Format="AN" Info="OF"/></SectionB></RecordB>)",
                                                    GetRecordB);
    a.beginPositional();
    a.appendPositional(b.Section(0));
    EXPECT_EQ(errorOf([&] { a.finishPositional(u'B'); }),
              u"Il record B è lungo 1890 caratteri invece di 1898: il campo 18 (Data di nascita) con il valore "
              u"«0.00.00» occupa 0 caratteri invece di 8.");
}

TEST_F(RecordAssemblyTest, AControlCharacterOrAValueTooLongForItsElementStopsStage1WithItsPlace)
{
    addDemoFrontispiece();
    const QString tail = u"Correggere il valore e generare di nuovo il file."_s;
    // Values as an older program could have left them in the database, past
    // the checks that data entry makes today.
    auto storeAsIs = [this](const QString &table, const QList<std::pair<QString, QString>> &values) {
        ClientDataSet ds;
        store.open(ds, table);
        ds.append();
        for (const auto &[field, value] : values)
            ds.fieldByName(field).setAsString(value);
        ds.post();
        store.save(ds, table);
    };
    const std::pair<QList<std::pair<QString, QString>>, QString> cases[] = {
        {{{u"SPSTMESE"_s, u"01"_s}, {u"SPSTANNO"_s, u"2023"_s}, {u"SPSTCODTRIBUTO"_s, u"A\tB"_s}},
         u"Record D, Prospetto ST, rigo ST2 del modulo 1, campo ST002011 (Codice tributo): il valore «A<TAB>B» "
         u"contiene un "
         u"carattere di controllo (TAB) che non può essere scritto nel file. "_s},
        {{{u"SPSTMESE"_s, u"01"_s},
          {u"SPSTANNO"_s, u"2023"_s},
          {u"FPSTIMPOVERSATO"_s, u"10000000000000"_s},
          {u"SSOE7CODICE"_s, u"82009870542"_s}},
         u"Record D, Prospetto ST, rigo ST2 del modulo 1 del sostituto estinto 82009870542, campo ST002007 (Importo "
         u"versato): il valore «10000000000000,00» non entra nei 16 caratteri del campo e il file non può riportarlo "
         u"intero. "_s}};
    add(u"TSOE7_SOSESTINTO"_s, R"({"records": [{"CODICE": "82009870542"}]})");
    for (const auto &[row, message] : cases) {
        ClientDataSet st;
        store.open(st, u"TPST_PROSPETTOST"_s);
        while (!st.isEmpty())
            st.deleteRecord();
        store.save(st, u"TPST_PROSPETTOST"_s);
        storeAsIs(u"TPST_PROSPETTOST"_s, row);
        FileWizard &w = openWizard();
        EXPECT_EQ(w.createFile(), FileWizard::Outcome::Failed);
        EXPECT_EQ(w.memo().last(), u"***** "_s + message + tail);
    }

    // A control character in a positional record stops it too.
    storeAsIs(u"TSOS_DATOSOSTITUTO"_s, {{u"SSOSDENOM"_s, u"SCUOLA\nROSSI"_s}});
    openWizard();
    const TXMLRecordBType root = bind<TXMLRecordBType>(R"(<RecordB><SectionB>
        <CampoB Number="15" Description="Denominazione" Width="60" Format="AN" Info="O@" Cds="cdsSost" Field="SSOSDENOM"/>
        </SectionB></RecordB>)",
                                                       GetRecordB);
    dm().cdsSost.last();
    assembly().beginPositional();
    EXPECT_EQ(
        errorOf([&] { assembly().appendPositional(root.Section(0)); }),
        u"Record B, campo 15 (Denominazione): il valore «SCUOLA<LF>ROSSI» contiene un carattere di controllo (LF) "
        u"che non può essere scritto nel file. "_s
            + tail);
}

TEST_F(RecordAssemblyTest, CutValuesAndCharactersOutsideTheCodePageAreReported)
{
    add(u"TSOS_DATOSOSTITUTO"_s, R"({"records": [{"SSOSDENOM": "SZKOŁA ŁÓDŹ", "SSOSCOMNASRAPPR": "SAN GIOVANNI"}]})");
    openWizard();
    QStringList lines;
    wizard().setProgress([&](const QString &line) { lines.append(line); });
    const TXMLRecordBType root = bind<TXMLRecordBType>(R"(<RecordB><SectionB>
        <CampoB Number="15" Description="Denominazione" Width="12" Format="AN" Info="O@" Cds="cdssost" Field="SSOSDENOM"/>
        <CampoB Number="45" Description="Comune" Width="10" Format="AN" Info="O@" Cds="cdsSost" Field="SSOSCOMNASRAPPR"/>
        <CampoB Number="99" Width="1876" Format="AN" Info="OF" Fixed="A"/></SectionB></RecordB>)",
                                                       GetRecordB);
    RecordAssembly &a = assembly();
    a.beginPositional();
    a.appendPositional(root.Section(0));
    a.finishPositional(u'B');
    EXPECT_EQ(records().value(0).left(22), u"SZKO?A ?ÓD? SAN GIOVAN");
    EXPECT_EQ(lines, (QStringList{u"Attenzione - record B, campo 15 (Denominazione): il valore «SZKOŁA ŁÓDŹ» contiene "
                                  u"caratteri non ammessi nel file, scritti come «?»"_s,
                                  u"Attenzione - record B, campo 45 (Comune): il valore «SAN GIOVANNI» supera i "
                                  u"caratteri del campo ed è stato troncato"_s}));
}

TEST(LayoutDescriptor, ErrorsNameTheFileTheLineAndTheElement)
{
    TempDir dir;
    EXPECT_EQ(errorOf([&] { LoadRecordB(dir.file(u"Record_B.xml"_s)); }),
              u"Descrittore del record mancante: «%1»"_s.arg(dir.file(u"Record_B.xml"_s)));

    const QString malformed = dir.write(u"Record_A.xml"_s, "<RecordA>\n<SectionA>\n</RecordA>\n");
    EXPECT_TRUE(
        errorOf([&] { LoadRecordA(malformed); }).startsWith(u"Descrittore «Record_A.xml» malformato, riga 3"_s));

    const QString wrongFamily = dir.write(u"Record_I.xml"_s, "<?xml version='1.0'?>\n<RecordJ/>\n");
    EXPECT_EQ(errorOf([&] { LoadRecordE(wrongFamily); }),
              u"Descrittore «Record_I.xml», riga 2: l'elemento radice è «RecordJ» invece di «RecordE»"_s);

    const QString badWidth =
        dir.write(u"Record_J.xml"_s, "<RecordJ>\n<SectionJ>\n<CampoJ Number='SS001001'/>\n"
                                     "<CampoJ Number='SS001002' Width='16a'/>\n</SectionJ>\n</RecordJ>");
    EXPECT_EQ(errorOf([&] { LoadRecordJ(badWidth); }),
              u"Descrittore «Record_J.xml», riga 3, elemento «CampoJ» (Number «SS001001»): "
              u"l'attributo Width «» non è un numero intero"_s);

    const QString empty = dir.write(u"Record_Z.xml"_s, "<?xml version='1.0'?>\n<!-- niente -->\n");
    EXPECT_TRUE(errorOf([&] { LoadRecordZ(empty); }).startsWith(u"Descrittore «Record_Z.xml»"_s));
}

} // namespace
