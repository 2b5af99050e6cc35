#include "TelematicFixture.h"

#include "AgentBootstrap.h"
#include "CdsExchange.h"
#include "ClientDataSet.h"
#include "DataPaths.h"
#include "DatabaseSetup.h"
#include "ElhUSupplyCheck.h"
#include "Exceptions.h"
#include "LocalDataFolder.h"
#include "NrTransaction.h"
#include "PrintAgreement.h"
#include "ReturnCatalogue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cctype>

using namespace Qt::Literals::StringLiterals;

namespace {

QString built(const QString &relative)
{
    return DataPaths::resolve(QString::fromUtf8(ELH_DATA_ROOT), relative);
}

const ReturnCatalogue &catalogue()
{
    static const ReturnCatalogue loaded = ReturnCatalogue::load(built(u"USR\\FL2023\\DbIniziale\\Catalogo.json"_s));
    return loaded;
}

void copyFile(const QString &from, const QString &to)
{
    QDir().mkpath(QFileInfo(to).path());
    if (!QFile::copy(from, to))
        throw std::runtime_error("cannot copy " + from.toStdString());
}

} // namespace

TelematicTest::TelematicTest()
{
    for (const QString &kind : {u"A"_s, u"B"_s, u"D"_s, u"I"_s, u"J"_s, u"Z"_s})
        copyFile(built(u"USR\\FL2023\\Res\\FileTel\\Record_"_s + kind + u".xml"_s),
                 file(u"USR/FL2023/Res/FileTel/Record_"_s + kind + u".xml"_s));
    const QDir coordStp(built(u"USR\\FL2023\\Res\\CoordStp\\"_s));
    for (const QString &name : coordStp.entryList(QDir::Files))
        copyFile(coordStp.filePath(name), file(u"USR/FL2023/Res/CoordStp/"_s + name));
    for (const QString &name : {u"TFIFI_FIELDSFILE.CDS"_s, u"TFILE_FILETELEM.CDS"_s})
        copyFile(built(u"USR\\FL2023\\DbIniziale\\"_s + name), file(u"USR/FL2023/DbIniziale/"_s + name));
    LocalDataFolder::prepare(standardErrorFindings());
    FindingList opening;
    connection.setFindings(opening);
    if (!connection.createDatabase())
        throw std::runtime_error("database not opened: " + opening.texts().join(u'\n').toStdString());
    connection.setFindings(standardErrorFindings());
    TNrTransaction transaction(connection);
    transaction.StartTransaction();
    DatabaseSetup(connection).createStructures(catalogue(), {2022, 2023});
    transaction.Commit();
    store.setConnection(&connection);
}

void TelematicTest::add(const QString &table, const QByteArray &json)
{
    ClientDataSet ds(table);
    store.open(ds, table);
    CdsExchange::appendJsonRecords(ds, json, table);
    store.save(ds, table);
}

void TelematicTest::addDemoFrontispiece()
{
    // The demo's agent and supplier of 2022, carried over to 2023 as the
    // first start of the year carries them.
    THlmDBCds previous(2022, u"elh"_s, 0);
    previous.setConnection(&connection);
    for (const QString &table : {u"TSOS_DATOSOSTITUTO"_s, u"TFOR_FORNITORE"_s}) {
        ClientDataSet ds(table);
        previous.open(ds, table);
        CdsExchange::appendJsonRecords(
            ds, readFile(built(u"USR\\FL2023\\DbIniziale\\Demo\\"_s + table + u".2022.json"_s)), table);
        previous.save(ds, table);
    }
    // Its information is not what the tests look at.
    FindingList notices;
    AgentBootstrap::run(
        store, [] { return QString(); }, notices);
}

FileWizard &TelematicTest::openWizard()
{
    m_wizard.reset();
    m_dm = std::make_unique<TdmElhFile>(store);
    m_dm->openTables();
    m_wizard = std::make_unique<FileWizard>(*m_dm, findings);
    return *m_wizard;
}

QStringList TelematicTest::told() const
{
    QStringList lines;
    for (const Finding &f : findings.entries())
        lines.append(findingLevelLabel(f.level) + u": "_s + f.text);
    return lines;
}

QString TelematicTest::generate(bool prospettiSv)
{
    FileWizard &w = openWizard();
    w.prospettiSv = prospettiSv;
    const bool created = w.createFile() == FileWizard::Outcome::Created;
    EXPECT_TRUE(created) << w.memo().join(u'\n').toStdString();
    const QString out = file(u"770"_s + Edition::kReturnYear.right(2));
    if (created)
        w.save(out);
    return out;
}

std::vector<QStringList> caseRows(const QString &name)
{
    const QString path = QString::fromUtf8(ELH_SOURCE_DIR) + u"/tests/units/telematic/data/"_s + name;
    std::vector<QStringList> rows;
    for (const QByteArray &line : readFile(path).split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        QStringList columns = QString::fromUtf8(line).split(u'\t');
        for (QString &c : columns)
            c.replace(u"\\t"_s, u"\t"_s).replace(u"\\n"_s, u"\n"_s);
        rows.push_back(columns);
    }
    if (rows.empty())
        throw std::runtime_error("no cases in " + path.toStdString());
    return rows;
}

std::string caseName(const testing::TestParamInfo<QStringList> &info)
{
    std::string name = std::to_string(info.index) + '_' + info.param.value(0).toStdString();
    for (char &c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    }
    return name;
}

QString errorOf(const std::function<void()> &run)
{
    try {
        run();
    } catch (const Exception &e) {
        return e.message();
    }
    return QString();
}

QList<QByteArray> supplyLines(const QString &path)
{
    const QByteArray bytes = readFile(path);
    EXPECT_TRUE(bytes.endsWith("\r\n")) << path.toStdString();
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast();
    for (QByteArray &line : lines) {
        EXPECT_TRUE(line.endsWith('\r'));
        line.chop(1);
        EXPECT_EQ(line.size(), 1898) << line.left(1).toStdString();
        EXPECT_EQ(line.right(1), "A");
    }
    return lines;
}

void TelematicTest::expectGolden(const QString &produced, const QString &goldenName)
{
    const QList<PrintAgreement::Element> elements = PrintAgreement::fileElements(produced);
    const QStringList missing =
        PrintAgreement::missingFromPrints(elements, PrintAgreement::printedElements(store, elements, file(QString())));
    for (const QString &m : missing)
        ADD_FAILURE() << goldenName.toStdString() << ", not on the prints: " << m.toStdString();
    ASSERT_FALSE(supplyLines(produced).isEmpty()) << produced.toStdString();
    for (const SupplyCheck::Finding &f : SupplyCheck::run({produced}))
        ADD_FAILURE() << goldenName.toStdString() << ": " << SupplyCheck::describe(f).toStdString();
    const QString golden = QString::fromUtf8(ELH_GOLDEN_DIR) + u'/' + goldenName;
    if (qEnvironmentVariableIntValue("ELH_UPDATE_GOLDEN") == 1) {
        QFile::remove(golden);
        ASSERT_TRUE(QFile::copy(produced, golden));
        return;
    }
    const QByteArray bytes = readFile(produced);
    const QByteArray expected = readFile(golden);
    // Where they part, if they do.
    const qsizetype at =
        std::mismatch(bytes.begin(), bytes.end(), expected.begin(), expected.end()).first - bytes.begin();
    EXPECT_EQ(QString::fromLatin1(bytes.mid(at, 40)), QString::fromLatin1(expected.mid(at, 40)))
        << goldenName.toStdString() << ", line " << bytes.left(at).count('\n') + 1;
}
