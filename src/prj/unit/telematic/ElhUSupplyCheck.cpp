#include "ElhUSupplyCheck.h"

#include "Cp1252.h"
#include "FiscalCode.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace SupplyCheck {

namespace {

// The layout facts the check relies on: 1,898 characters and CR LF per
// record; data records open with a header of 89 characters, then 75
// elements of 24 characters (an 8-character code and a 16-character value)
// up to 1889, blanks to 1897.
constexpr int kRecordLength = 1898;
constexpr int kHeaderLength = 89;
constexpr int kElementLength = 24;
constexpr int kCodeLength = 8;
constexpr int kElementArea = 1889;
// The types that a Z record counts, in the order they follow each other.
constexpr QStringView kDataTypes = u"DEIJ";

const QRegularExpression kCode(u"^[A-Z]{2}[0-9]{6}$"_s);
// Amounts are written with their sign; the layout has no signed amount, so
// a negative one is reported on its own.
const QRegularExpression kAmount(u"^-?[0-9]+,[0-9]{2}$"_s);
const QRegularExpression kNumberLike(u"^[-+]?[0-9.,]*[.,][0-9.,]*$"_s);
const QRegularExpression kDigits(u"^[0-9]+$"_s);
const QRegularExpression kPeriod(u"^(0[1-9]|1[0-2])[0-9]{4}$"_s);

// The Prospetti a data record may carry (record E: not known, any).
QStringList prospettiOf(QChar type)
{
    switch (type.unicode()) {
    case u'D':
        return {u"ST"_s, u"SV"_s, u"SX"_s, u"DI"_s};
    case u'I':
        return {u"SY"_s};
    case u'J':
        return {u"SS"_s};
    default:
        return {};
    }
}

// The elements whose value is a fiscal code: the extinct agent on line 1 of
// ST, SV and SY, the person of DI, the intermediaries of ST sections III and
// IV, the creditor of SY section I (lines 2-6), the debtor and the creditor
// of section II (7-11), the beneficiary of section III (12-15).
bool holdsFiscalCode(const QString &code)
{
    const QString prospetto = code.left(2);
    const int line = code.mid(2, 3).toInt();
    const int point = code.mid(5, 3).toInt();
    if (prospetto == u"DI")
        return point == 1;
    if (line == 1)
        return point == 1 && (prospetto == u"ST" || prospetto == u"SV" || prospetto == u"SY");
    if (prospetto == u"ST")
        return (line == 26 || line == 38) && point == 3;
    if (prospetto == u"SY")
        return line <= 15 && (point == 1 || (line >= 7 && line <= 11 && point == 2));
    return false;
}

// The elements whose value is a period, month and year "MMAAAA": point 1
// of the payment lines of ST (section I lines 2-13, II 14-25, III 27-37, IV
// 39-49; lines 26 and 38 hold the intermediaries) and of SV (lines 2-13).
bool holdsPeriod(const QString &code)
{
    const QString prospetto = code.left(2);
    const int line = code.mid(2, 3).toInt();
    if (code.mid(5, 3) != u"001")
        return false;
    if (prospetto == u"ST")
        return line >= 2 && line <= 49 && line != 26 && line != 38;
    return prospetto == u"SV" && line >= 2 && line <= 13;
}

// The Prospetti boxes of record B and what each says is in the supply.
struct Box
{
    int position;
    QChar recordType;
    QString prospetto; // empty: any record of the type
};
const Box kBoxes[] = {{1141, u'D', u"ST"_s},   {1142, u'D', u"SV"_s},   {1143, u'D', u"SX"_s},
                      {1144, u'I', QString()}, {1145, u'J', QString()}, {1146, u'D', u"DI"_s}};

// The Z counters: positions of the count of B records, then of each data type.
constexpr int kZCounters[] = {16, 25, 34, 43, 52};

class Checker
{
public:
    explicit Checker(QList<Finding> &findings)
        : m_findings(findings)
    {
    }

    void checkFile(const QString &path, int index, int count);
    void checkBoxes();

private:
    void add(int line, const QString &text) { m_findings.append({m_file, line, text}); }
    QString field(int from, int to) const { return m_text.mid(from - 1, to - from + 1); }
    void expectBlank(int from, int to);
    void expectFiscalCode(int from, int to, const QString &what);
    void checkRecord();
    void checkA(int index, int count);
    void checkB();
    void checkZ();
    void checkData();
    void checkElement(qsizetype at, const QString &element);

    QList<Finding> &m_findings;
    // The file and record under way.
    QString m_file;
    int m_line = 0;
    QString m_text;
    QString m_where; // "record D, modulo 00000002"
    // Across the files of the supply.
    QString m_firstA; // record A without the send index
    QString m_firstB;
    QString m_declarant;
    QString m_boxesFile;
    int m_boxesLine = 0;
    QString m_lastProgressive[4]; // per data type
    QSet<QString> m_carried;      // "D:ST", "I:", ...
    // The module under way.
    QString m_module;
    QString m_lastCode;
    int m_lastCodeLine = 0;
    // The file under way.
    int m_counts[5] = {}; // B, D, E, I, J
    int m_typeOrder = -1;
};

void Checker::expectBlank(int from, int to)
{
    if (!field(from, to).trimmed().isEmpty())
        add(m_line,
            u"%1: le posizioni %2-%3 devono essere vuote"_s.arg(m_where, QString::number(from), QString::number(to)));
}

void Checker::expectFiscalCode(int from, int to, const QString &what)
{
    QString code = field(from, to);
    // An 11-digit code stands left-aligned, blanks after it.
    if (code.size() == 16 && code.endsWith(u"     "_s))
        code.chop(5);
    const QString problem = FiscalCode::problem(code);
    if (!problem.isEmpty())
        add(m_line,
            u"%1: %2 (posizioni %3-%4): %5"_s.arg(m_where, what, QString::number(from), QString::number(to), problem));
}

void Checker::checkFile(const QString &path, int index, int count)
{
    m_file = path;
    m_line = 0;
    std::fill(std::begin(m_counts), std::end(m_counts), 0);
    m_typeOrder = -1;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        add(0, u"impossibile leggere il file: %1"_s.arg(file.errorString()));
        return;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty()) {
        add(0, u"il file è vuoto"_s);
        return;
    }
    if (!bytes.endsWith('\n'))
        add(0, u"l'ultimo record non termina con CR LF"_s);
    QList<QByteArray> lines = bytes.split('\n');
    if (bytes.endsWith('\n'))
        lines.removeLast();
    for (qsizetype n = 0; n < lines.size(); ++n) {
        m_line = static_cast<int>(n) + 1;
        QByteArray line = lines[n];
        m_text = Cp1252::decode(line.endsWith('\r') ? line.left(line.size() - 1) : line);
        const QChar type = m_text.isEmpty() ? QChar(u' ') : m_text.front();
        m_where = u"record %1"_s.arg(type);
        if (!line.endsWith('\r') && (n + 1 < lines.size() || bytes.endsWith('\n')))
            add(m_line, m_where + u": il record non termina con CR LF"_s);
        // A first, B second, Z last, the data records between them.
        const QChar expected = n == 0 ? u'A' : n == 1 ? u'B' : n + 1 == lines.size() ? u'Z' : QChar();
        if (!expected.isNull() && type != expected)
            add(m_line, m_where + u": in questa posizione del file va il record %1"_s.arg(expected));
        else if (expected.isNull() && QStringView(u"ABZ").contains(type))
            add(m_line, m_where + u": fuori posto, i record di dati stanno tra il record B e il record Z"_s);
        else if (expected.isNull() && !kDataTypes.contains(type))
            add(m_line, m_where + u": tipo di record sconosciuto"_s);
        if (type == u'B')
            ++m_counts[0];
        else if (kDataTypes.contains(type))
            ++m_counts[kDataTypes.indexOf(type) + 1];
        if (m_text.size() != kRecordLength) {
            add(m_line, u"%1: il record è lungo %2 caratteri invece di %3"_s.arg(
                            m_where, QString::number(m_text.size()), QString::number(kRecordLength)));
            continue;
        }
        checkRecord();
        if (expected.isNull() && kDataTypes.contains(type))
            checkData();
        else if (type != expected)
            continue;
        else if (type == u'A')
            checkA(index, count);
        else if (type == u'B')
            checkB();
        else if (type == u'Z')
            checkZ();
    }
}

void Checker::checkRecord()
{
    for (qsizetype i = 0; i < m_text.size(); ++i) {
        if (m_text[i].unicode() < 0x20 || m_text[i].unicode() == 0x7F) {
            add(m_line, u"%1: carattere di controllo alla posizione %2"_s.arg(m_where, QString::number(i + 1)));
            break;
        }
    }
    if (m_text.back() != u'A')
        add(m_line,
            u"%1: l'ultimo carattere (posizione 1898) deve essere «A» invece di «%2»"_s.arg(m_where, m_text.back()));
}

void Checker::checkA(int index, int count)
{
    expectBlank(2, 15);
    if (field(16, 20) != u"77024")
        add(m_line, u"%1: codice fornitura «%2» invece di «77024» (posizioni 16-20)"_s.arg(m_where, field(16, 20)));
    if (!kDigits.match(field(21, 22)).hasMatch())
        add(m_line, u"%1: tipo fornitore «%2» non numerico (posizioni 21-22)"_s.arg(m_where, field(21, 22)));
    expectFiscalCode(23, 38, u"codice fiscale del fornitore"_s);
    expectBlank(39, 521);
    expectBlank(630, 1897);
    const QString sent = field(522, 525);
    const QString total = field(526, 529);
    const QString expected =
        count == 1 ? u"00000000"_s
                   : QString::number(index).rightJustified(4, u'0') + QString::number(count).rightJustified(4, u'0');
    if (sent + total != expected)
        add(m_line, u"%1: invio «%2» di «%3» (posizioni 522-529) invece di «%4» di «%5»: i file indicati sono %6"_s.arg(
                        m_where, sent, total, expected.left(4), expected.mid(4), QString::number(count)));
    const QString withoutIndex = m_text.left(521) + m_text.mid(525);
    if (index == 1)
        m_firstA = withoutIndex;
    else if (withoutIndex != m_firstA)
        add(m_line, u"%1: il record A è diverso da quello del primo file oltre all'indice dell'invio"_s.arg(m_where));
}

void Checker::checkB()
{
    expectFiscalCode(2, 17, u"codice fiscale del dichiarante"_s);
    if (field(18, 25) != u"00000001")
        add(m_line,
            u"%1: progressivo modulo «%2» invece di «00000001» (posizioni 18-25)"_s.arg(m_where, field(18, 25)));
    for (const Box &box : kBoxes) {
        const QChar mark = m_text[box.position - 1];
        if (mark != u'0' && mark != u'1')
            add(m_line, u"%1: la casella alla posizione %2 vale «%3» invece di «0» o «1»"_s.arg(
                            m_where, QString::number(box.position), mark));
    }
    if (m_firstB.isEmpty()) {
        m_firstB = m_text;
        m_declarant = field(2, 17);
        m_boxesFile = m_file;
        m_boxesLine = m_line;
    } else if (m_text != m_firstB) {
        add(m_line, u"%1: il record B è diverso da quello del primo file"_s.arg(m_where));
    }
}

void Checker::checkZ()
{
    expectBlank(2, 15);
    for (int i = 0; i < 5; ++i) {
        const int at = kZCounters[i];
        const QString counter = field(at, at + 8);
        const QString what = i == 0 ? u"B"_s : QString(kDataTypes[i - 1]);
        if (!kDigits.match(counter).hasMatch() || counter.toInt() != m_counts[i])
            add(m_line, u"%1: numero di record %2 «%3» (posizioni %4-%5) invece di %6"_s.arg(
                            m_where, what, counter, QString::number(at), QString::number(at + 8),
                            QString::number(m_counts[i])));
    }
    expectBlank(61, 1897);
}

void Checker::checkData()
{
    const QChar type = m_text.front();
    const int order = static_cast<int>(kDataTypes.indexOf(type));
    const QString progressive = field(18, 25);
    m_where = u"record %1, modulo %2"_s.arg(type, progressive);
    if (order < m_typeOrder)
        add(m_line, u"%1: i record %2 vanno prima dei record %3"_s.arg(m_where, type, kDataTypes[m_typeOrder]));
    m_typeOrder = std::max(m_typeOrder, order);

    if (field(2, 17) != m_declarant)
        add(m_line,
            u"%1: codice fiscale del dichiarante «%2» (posizioni 2-17) diverso da quello del record B «%3»"_s.arg(
                m_where, field(2, 17), m_declarant));
    QString &last = m_lastProgressive[order];
    if (!kDigits.match(progressive).hasMatch()) {
        add(m_line, u"%1: progressivo modulo non numerico (posizioni 18-25)"_s.arg(m_where));
    } else {
        const int previous = last.isEmpty() ? 0 : last.toInt();
        const int current = progressive.toInt();
        if (current != previous && current != previous + 1)
            add(m_line, u"%1: il progressivo modulo segue «%2»: i moduli vanno numerati da 1 senza salti"_s.arg(
                            m_where, last.isEmpty() ? u"nessun modulo"_s : last));
        last = progressive;
    }
    expectBlank(type == u'J' ? 30 : 29, 53);
    expectFiscalCode(74, 89, u"codice fiscale del produttore del software"_s);
    expectBlank(kElementArea + 1, kRecordLength - 1);

    if (type + progressive != m_module) {
        m_module = type + progressive;
        m_lastCode.clear();
    }
    bool ended = false;
    for (qsizetype at = kHeaderLength; at + kElementLength <= kElementArea; at += kElementLength) {
        const QString element = m_text.mid(at, kElementLength);
        if (element.trimmed().isEmpty()) {
            ended = true;
            continue;
        }
        if (ended) {
            add(m_line,
                u"%1: elemento alla posizione %2 dopo uno spazio vuoto"_s.arg(m_where, QString::number(at + 1)));
            ended = false;
        }
        checkElement(at, element);
    }
}

void Checker::checkElement(qsizetype at, const QString &element)
{
    const QChar type = m_text.front();
    const QString code = element.left(kCodeLength);
    const QString value = element.mid(kCodeLength);
    const QString where = u"%1, posizione %2, elemento «%3»"_s.arg(m_where, QString::number(at + 1), element.trimmed());
    if (!kCode.match(code).hasMatch() || code.mid(2, 3) == u"000" || code.mid(5, 3) == u"000") {
        add(m_line, u"%1: «%2» non è un codice di campo (due lettere, rigo e colonna di tre cifre)"_s.arg(where, code));
        return;
    }
    const QStringList prospetti = prospettiOf(type);
    if (type != u'E' && !prospetti.contains(code.left(2)))
        add(m_line, u"%1: il prospetto %2 non va nei record %3"_s.arg(where, code.left(2), type));
    m_carried.insert(QString(type) + u':' + code.left(2));
    m_carried.insert(QString(type) + u':');

    const bool continuation = value.startsWith(u'+');
    if (continuation) {
        if (code != m_lastCode)
            add(m_line, u"%1: il seguito «+» non segue il campo %2 che continua"_s.arg(where, code));
        else if (m_lastCodeLine != m_line)
            add(m_line, u"%1: il seguito del campo %2 è in un record diverso dal suo inizio"_s.arg(where, code));
    } else if (code == m_lastCode) {
        add(m_line, u"%1: il codice %2 è ripetuto senza il segno di seguito «+»"_s.arg(where, code));
    } else if (!m_lastCode.isEmpty() && code < m_lastCode) {
        add(m_line, u"%1: il codice %2 segue %3: i codici di un modulo vanno in ordine crescente"_s.arg(where, code,
                                                                                                        m_lastCode));
    }
    m_lastCode = code;
    m_lastCodeLine = m_line;
    if (continuation)
        return;

    const QString trimmed = value.trimmed();
    if (holdsFiscalCode(code)) {
        const QString problem = FiscalCode::problem(value.startsWith(u' ') ? value : trimmed);
        if (!problem.isEmpty())
            add(m_line, u"%1: %2"_s.arg(where, problem));
    } else if (holdsPeriod(code)) {
        if (!kPeriod.match(trimmed).hasMatch() || value.back() == u' ')
            add(m_line, u"%1: il periodo «%2» va scritto come mese da 01 a 12 e anno di quattro cifre (MMAAAA), "
                        u"allineato a destra"_s.arg(where, value));
    } else if (kNumberLike.match(trimmed).hasMatch() && (!kAmount.match(trimmed).hasMatch() || value.back() == u' ')) {
        add(m_line, u"%1: l'importo «%2» va scritto con cifre, la virgola e due decimali, allineato a destra"_s.arg(
                        where, value));
    } else if (kAmount.match(trimmed).hasMatch() && trimmed.startsWith(u'-')) {
        add(m_line,
            u"%1: l'importo «%2» è negativo, ma gli importi della dichiarazione sono positivi"_s.arg(where, trimmed));
    }
}

void Checker::checkBoxes()
{
    if (m_firstB.isEmpty())
        return;
    for (const Box &box : kBoxes) {
        const bool carried = m_carried.contains(QString(box.recordType) + u':' + box.prospetto);
        const bool ticked = m_firstB[box.position - 1] == u'1';
        if (carried == ticked)
            continue;
        const QString what =
            box.prospetto.isEmpty() ? u"i record %1"_s.arg(box.recordType) : u"il prospetto %1"_s.arg(box.prospetto);
        m_findings.append({m_boxesFile, m_boxesLine,
                           u"record B: la casella alla posizione %1 vale «%2», ma la fornitura %3 %4"_s.arg(
                               QString::number(box.position), m_firstB[box.position - 1],
                               carried ? u"contiene"_s : u"non contiene"_s, what)});
    }
}

} // namespace

QString describe(const Finding &finding)
{
    const QString file = QFileInfo(finding.file).fileName();
    if (finding.line == 0)
        return u"«%1»: %2"_s.arg(file, finding.text);
    return u"«%1», riga %2, %3"_s.arg(file, QString::number(finding.line), finding.text);
}

QList<Finding> run(const QStringList &files)
{
    QList<Finding> findings;
    Checker checker(findings);
    for (qsizetype i = 0; i < files.size(); ++i)
        checker.checkFile(files[i], static_cast<int>(i) + 1, static_cast<int>(files.size()));
    checker.checkBoxes();
    return findings;
}

} // namespace SupplyCheck
