#include "ElhURecordAssembly.h"

#include "ClientDataSet.h"
#include "Cp1252.h"
#include "Decimal.h"
#include "ElhMFile.h"
#include "ElhUFileUtil.h"
#include "ElhUModulePlan.h"
#include "Field.h"
#include "NrExceptions.h"
#include "NrFindings.h"
#include "TextLib.h"

#include <algorithm>
#include <initializer_list>

using namespace Qt::Literals::StringLiterals;

namespace {

// A positional buffer takes fields while it is shorter than this.
constexpr qsizetype kBufferLimit = 1900;
// A record of elements is full once its text reaches this length: one more
// element of 24 characters still fits in 1,897.
constexpr qsizetype kRecordFull = 1874;
constexpr int kProgressiveDigits = 18;
// An element's code: Prospetto, line and point.
constexpr qsizetype kCodeLength = 8;
const QString kAgentField = u"SSOE7CODICE"_s;

ClientDataSet *sameName(const QString &cds, std::initializer_list<ClientDataSet *> dataSets)
{
    for (ClientDataSet *ds : dataSets) {
        if (ds->name().compare(cds, Qt::CaseInsensitive) == 0)
            return ds;
    }
    return nullptr;
}

QString elementCode(const QString &number, int moduleNumber)
{
    if (moduleNumber == 0)
        return number;
    return number.left(2) + TextLib::StrZero(moduleNumber, 3) + number.mid(5, 3);
}

// A record of the wrong length: the descriptor is at fault, or the value
// named in `misfit` that did not fill its field.
void checkRecordLength(QChar recordType, qsizetype length, const QString &misfit)
{
    if (length == kRecordLength)
        return;
    const QString record = u"Il record %1 è lungo %2 caratteri invece di %3"_s.arg(recordType, QString::number(length),
                                                                                   QString::number(kRecordLength));
    if (misfit.isEmpty())
        throw ENrError(record + u": il descrittore del record va corretto"_s);
    throw ENrError(record + u": il "_s + misfit + u'.');
}

// The value as its field would write it without a width, for a message on
// a value that does not fit.
template<class F>
QString fullyEncoded(const FieldValue &value, const TXMLCampoType<F> &field)
{
    constexpr int kUnbounded = 4096;
    return TextLib::Trim(FormatFieldValue(value, kUnbounded, field.Format(), field.Info()).remove(kPlaceholder));
}

QString capitalized(const QString &text)
{
    return text.left(1).toUpper() + text.mid(1);
}

} // namespace

RecordAssembly::RecordAssembly(TdmElhFile &dm, FindingSink &findings)
    : m_dm(dm)
    , m_findings(findings)
{
}

void RecordAssembly::report(const QString &line) const
{
    if (m_progress)
        m_progress(line);
}

FieldValue RecordAssembly::readValue(const ClientDataSet &dataSet, const QString &field) const
{
    const Field &f = dataSet.fieldByName(field);
    if (f.dataType() == FieldType::Decimal && !f.isNull())
        return f.asCurrency();
    return f.asString();
}

QString RecordAssembly::readText(const ClientDataSet &dataSet, const QString &field) const
{
    return dataSet.fieldByName(field).asString();
}

FieldValue RecordAssembly::applyInfoOrFail(const QString &info, const FieldValue &value, const QString &number) const
{
    if (const std::optional<FieldValue> v = applyInfo(info, value))
        return *v;
    throw ENrError(u"Campo %1 del record %2: il valore «%3» non è un numero"_s.arg(number, m_recordType, value.text()));
}

// --- Values ---------------------------------------------------------------------

FieldValue RecordAssembly::ResolveFieldValue(const TXMLCampoAType &field) const
{
    if (TextLib::Trim(field.Number()) == u"3")
        return QString(u"770"_s + Edition::kReturnYear.right(2));
    if (field.Info() == u"OF")
        return field.Fixed();
    ClientDataSet *ds = sameName(field.Cds(), {&m_dm.cdsForn});
    return ds ? readValue(*ds, field.Field()) : QString();
}

FieldValue RecordAssembly::ResolveFieldValue(const TXMLCampoBType &field) const
{
    if (TextLib::Trim(field.Number()) == u"7")
        return Edition::kSoftwareProducer.toString();
    const QString info = field.Info();
    if (info == u"OF")
        return field.Fixed();
    if (infoPresence(LayoutFamily::B, info) == InfoPresence::Skipped)
        return QString();
    ClientDataSet *ds = sameName(field.Cds(), {&m_dm.cdsSost});
    const FieldValue value = ds ? readValue(*ds, field.Field()) : FieldValue();
    return info == u"@1" ? applyInfoOrFail(info, value, field.Number()) : value;
}

FieldValue RecordAssembly::ResolveFieldValue(const TXMLCampoZType &field) const
{
    return field.Fixed();
}

// Periods are kept as month and year in two fields; the layout has one.
FieldValue RecordAssembly::composedPeriod(const ClientDataSet &dataSet, const TXMLCampoEType &field) const
{
    const QString number = TextLib::Trim(field.Number());
    if (&dataSet == &m_dm.cdsPrSv && number == u"SVXXX001")
        return QString(readText(dataSet, u"SPSVMESE"_s) + readText(dataSet, u"SPSVANNO"_s));
    if (&dataSet == &m_dm.cdsPrSt && number == u"STXXX001")
        return QString(readText(dataSet, u"SPSTMESE"_s) + readText(dataSet, u"SPSTANNO"_s));
    if (&dataSet == &m_dm.cdsPrSt2 && number == u"STXXX001")
        return QString(readText(dataSet, u"SPST2MESE"_s) + readText(dataSet, u"SPST2ANNO"_s));
    const bool linePeriod = number.contains(u"001") && TextLib::Trim(field.Description()) == u"Periodo di riferimento";
    // Sections III and IV hold eleven lines in one row: the line is in the code.
    const QString line = number.mid(3, 2);
    if (&dataSet == &m_dm.cdsPrSt3 && linePeriod)
        return QString(readText(dataSet, u"SPST3MESE"_s + line) + readText(dataSet, u"SPST3ANNO"_s + line));
    if (&dataSet == &m_dm.cdsPrSt4 && linePeriod)
        return QString(readText(dataSet, u"SPST2MESE"_s + line) + readText(dataSet, u"SPST2ANNO"_s + line));
    return readValue(dataSet, field.Field());
}

template<class F>
std::optional<FieldValue> RecordAssembly::suppliedValue(const TXMLCampoType<F> &field, QStringView producerNumber)
{
    const QString number = TextLib::Trim(field.Number());
    if (number == u"1")
        m_recordType = field.Fixed();
    if (number == u"3")
        return QString::number(m_progressive);
    if (number == producerNumber)
        return Edition::kSoftwareProducer.toString();
    const QString info = field.Info();
    if (info == u"OF")
        return field.Fixed();
    if (infoPresence(F::kind, info) == InfoPresence::Skipped)
        return QString();
    return std::nullopt;
}

void RecordAssembly::setModule(const ModulePlan *plan, const QString &agent)
{
    m_plan = plan;
    m_moduleAgent = agent;
}

FieldValue RecordAssembly::ResolveFieldValue(const TXMLCampoEType &field)
{
    if (const std::optional<FieldValue> supplied = suppliedValue(field, u"7"))
        return *supplied;
    if (m_plan && field.Field().compare(kAgentField, Qt::CaseInsensitive) == 0)
        return m_plan->holds(TextLib::Trim(field.Number()).left(2)) ? m_moduleAgent : QString();
    TdmElhFile &dm = m_dm;
    ClientDataSet *ds =
        m_recordType == u"I"
            ? sameName(field.Cds(), {&dm.cdsSost, &dm.cdsPrSy, &dm.cdsPrSy2, &dm.cdsPrSy3, &dm.cdsPrSy4})
            : sameName(field.Cds(), {&dm.cdsSost, &dm.cdsPrSv, &dm.cdsPrSx, &dm.cdsPrDi, &dm.cdsPrSt, &dm.cdsPrSt2,
                                     &dm.cdsPrSt3, &dm.cdsPrSt4});
    // A Prospetto whose rows the module has used up gives nothing.
    if (!ds || (ds != &dm.cdsSost && ds->eof()))
        return FieldValue();
    return applyInfoOrFail(field.Info(), composedPeriod(*ds, field), field.Number());
}

FieldValue RecordAssembly::ResolveFieldValue(const TXMLCampoJType &field, const QString &sectionCds)
{
    if (const std::optional<FieldValue> supplied = suppliedValue(field, u"8"))
        return *supplied;
    const QString cds = sectionCds.isEmpty() ? field.Cds() : sectionCds;
    FieldValue value = cds.isEmpty() ? FieldValue() : readValue(m_dm.FindSectionDataset(cds), field.Field());
    // A zero that is not to be written, unless a default stands for it.
    if (field.Format() == u"NP") {
        const std::optional<Decimal> d = value.number();
        if (d && d->isZero())
            value = FieldValue();
    }
    if (value.isEmpty() && !field.Fixed().isEmpty())
        value = field.Fixed();
    return applyInfoOrFail(field.Info(), value, field.Number());
}

// --- Positional records ------------------------------------------------------------

void RecordAssembly::beginPositional()
{
    m_buffer.clear();
    m_misfit.clear();
}

template<class F>
void RecordAssembly::appendPositional(const TXMLCampoType<F> &field, const FieldValue &value)
{
    const QString info = field.Info();
    const InfoPresence presence = infoPresence(F::kind, info);
    if (presence == InfoPresence::Skipped)
        return;
    const QString name = u"campo %1 (%2)"_s.arg(TextLib::Trim(field.Number()), TextLib::Trim(field.Description()));
    const QString place = u"record %1, "_s.arg(F::tags.root.last(1)) + name;
    QString encoded;
    if (presence == InfoPresence::Always || !value.isEmpty()) {
        bool cut = false;
        encoded = FormatFieldValue(screened([&] { return place; }, value), field.Width(), field.Format(), info, &cut);
        if (cut)
            reportCut(place, field.Format() == u"AN" ? value.text() : fullyEncoded(value, field), field.Format(),
                      field.Width());
    }
    // A value that does not fill its width moves every later field.
    if (encoded.size() != field.Width() && m_misfit.isEmpty())
        m_misfit = u"%1 con il valore «%2» occupa %3 caratteri invece di %4"_s.arg(
            name, value.text(), QString::number(encoded.size()), QString::number(field.Width()));
    if (m_buffer.size() < kBufferLimit)
        m_buffer += encoded;
    else
        m_findings.information(u"Supera i 1900 caratteri"_s);
}

template void RecordAssembly::appendPositional(const TXMLCampoAType &, const FieldValue &);
template void RecordAssembly::appendPositional(const TXMLCampoBType &, const FieldValue &);
template void RecordAssembly::appendPositional(const TXMLCampoZType &, const FieldValue &);

void RecordAssembly::finishPositional(QChar recordType)
{
    QString text = m_buffer;
    text.replace(kPlaceholder, u' ');
    if (recordType == u'Z')
        text += u'A';
    checkRecordLength(recordType, text.size(), m_misfit);
    appendRecord(recordType, QString(), text);
}

// --- Field elements ----------------------------------------------------------------

bool RecordAssembly::dropsElement(const QString &encoded, const QString &format, const QString &cds, bool coded) const
{
    TdmElhFile &dm = m_dm;
    if (m_recordType == u"D") {
        if (format == u"N1" && TextLib::Trim(encoded) == u"0")
            return true;
        // A box of a prospetto the agent has no rows in.
        if (format == u"CB") {
            const ClientDataSet *ds = sameName(
                cds, {&dm.cdsPrSx, &dm.cdsPrDi, &dm.cdsPrSv, &dm.cdsPrSt, &dm.cdsPrSt2, &dm.cdsPrSt3, &dm.cdsPrSt4});
            if (ds && ds->isEmpty())
                return true;
        }
    }
    if (m_recordType == u"D" || m_recordType == u"I")
        return coded && TextLib::Trim(QString(encoded).replace(kPlaceholder, u' ')).isEmpty();
    if (m_recordType == u"J")
        return TextLib::Trim(encoded).isEmpty();
    return false;
}

QString RecordAssembly::elementPlace(const QString &number, const QString &description, int moduleNumber) const
{
    const QString field = u"campo %1 (%2)"_s;
    if (number.size() != 8)
        return u"record %1 modulo %2, "_s.arg(m_recordType, QString::number(m_progressive))
               + field.arg(number, TextLib::Trim(description));
    const QString code = elementCode(number, moduleNumber);
    bool numbered = false;
    const int line = code.mid(2, 3).toInt(&numbered);
    const QString agent = m_plan && !m_moduleAgent.isEmpty() ? u" del sostituto estinto "_s + m_moduleAgent : QString();
    return u"record %1, Prospetto %2, rigo %3 del modulo %4%5, "_s.arg(
               m_recordType, code.left(2), numbered ? code.left(2) + QString::number(line) : code.left(5),
               QString::number(m_progressive), agent)
           + field.arg(code, TextLib::Trim(description));
}

template<class F>
void RecordAssembly::storeElement(const FieldValue &value, const TXMLCampoType<F> &field, int moduleNumber)
{
    const QString info = field.Info();
    const InfoPresence presence = infoPresence(F::kind, info);
    const QString number = TextLib::Trim(field.Number());
    QString encoded;
    if (presence == InfoPresence::Always || (presence == InfoPresence::WhenFilled && !value.isEmpty())) {
        bool cut = false;
        encoded = FormatFieldValue(value, field.Width(), field.Format(), info, &cut);
        if (cut)
            reportCut(elementPlace(number, field.Description(), moduleNumber), fullyEncoded(value, field), QString(),
                      field.Width());
    }
    const bool coded = number.size() == 8;
    if (dropsElement(encoded, field.Format(), field.Cds(), coded))
        return;
    const QString code = coded ? elementCode(number, moduleNumber) : QString();
    m_dm.cdsFieldFile.append();
    m_dm.cdsFieldFile.fieldByName(u"SFIFICODREC"_s).setAsString(m_recordType);
    m_dm.cdsFieldFile.fieldByName(u"SFIFIPROGRE"_s).setAsString(TextLib::StrZero(m_progressive, kProgressiveDigits));
    m_dm.cdsFieldFile.fieldByName(u"SFIFIRECORD"_s).setAsString(code + encoded);
    m_dm.cdsFieldFile.post();
}

void RecordAssembly::StoreFieldElement(const FieldValue &value, const TXMLCampoEType &field, int moduleNumber)
{
    storeElement(value, field, moduleNumber);
}

void RecordAssembly::StoreFieldElement(const FieldValue &value, const TXMLCampoJType &field, int moduleNumber)
{
    storeElement(value, field, moduleNumber);
}

// Only a text goes on in continuation pieces; any other value that does not
// fit its element stops the run when it is encoded.
template<class Section>
void RecordAssembly::emitField(const Section &section, int moduleNumber, int fieldIndex, const FieldValue &resolved)
{
    const auto field = section.Campo(fieldIndex);
    const int width = field.Width();
    const FieldValue screenedValue = screened(
        [&] { return elementPlace(TextLib::Trim(field.Number()), field.Description(), moduleNumber); }, resolved);
    if (field.Format() != u"AN" || screenedValue.text().size() <= width) {
        StoreFieldElement(screenedValue, field, moduleNumber);
        return;
    }
    const QString value = screenedValue.text();
    constexpr int kFirstPiece = 16;
    StoreFieldElement(TextLib::TrimRight(value.left(kFirstPiece)), field, moduleNumber);
    const int step = std::max(width - 1, 1);
    for (qsizetype at = kFirstPiece; at < value.size(); at += step)
        StoreFieldElement(TextLib::TrimRight(u'+' + value.mid(at, step)), field, moduleNumber);
}

void RecordAssembly::EmitLayoutField(const TXMLSectionEType &section, int moduleNumber, int fieldIndex)
{
    emitField(section, moduleNumber, fieldIndex, ResolveFieldValue(section.Campo(fieldIndex)));
}

void RecordAssembly::EmitLayoutField(const TXMLSectionJType &section, int moduleNumber, int fieldIndex)
{
    emitField(section, moduleNumber, fieldIndex, ResolveFieldValue(section.Campo(fieldIndex), section.Cds()));
}

// --- Packing -------------------------------------------------------------------------

void RecordAssembly::AssembleFieldRecords(QChar recordType, int headerCount)
{
    ClientDataSet &elements = m_dm.cdsFieldFile;
    const Field &type = elements.fieldByName(u"SFIFICODREC"_s);
    const Field &progressive = elements.fieldByName(u"SFIFIPROGRE"_s);
    const Field &text = elements.fieldByName(u"SFIFIRECORD"_s);
    const QString wanted(recordType);
    QString current;
    QString header;
    QString record;
    int headerElements = 0;
    // A field and its continuation pieces: they go into one record, the next
    // one when what is left of this one cannot hold them all.
    QString field;
    const auto placeField = [&] {
        if (field.isEmpty())
            return;
        if (record.size() > header.size() && record.size() + field.size() > kRecordLength - 1) {
            FlushAssembledRecord(recordType, current, record);
            record = header;
        }
        record += field;
        field.clear();
    };
    for (elements.first(); !elements.eof(); elements.next()) {
        if (type.asString() != wanted)
            continue;
        if (progressive.asString() != current) {
            placeField();
            FlushAssembledRecord(recordType, current, record);
            current = progressive.asString();
            header.clear();
            record.clear();
            headerElements = 0;
        }
        const QString element = text.asString();
        if (headerElements < headerCount) {
            header += element;
            record += element;
            ++headerElements;
            continue;
        }
        const bool continues = element.size() > kCodeLength && element[kCodeLength] == u'+'
                               && element.left(kCodeLength) == field.left(kCodeLength);
        if (!continues)
            placeField();
        field += element;
    }
    placeField();
    FlushAssembledRecord(recordType, current, record);
}

void RecordAssembly::FlushAssembledRecord(QChar recordType, const QString &progressive, QString record)
{
    if (record.isEmpty())
        return;
    record.replace(kPlaceholder, u' ');
    if (record.size() < kRecordLength - 1)
        record += QString(kRecordLength - 1 - record.size(), u' ');
    record += u'A';
    checkRecordLength(recordType, record.size(), QString());
    appendRecord(recordType, progressive, record);
}

void RecordAssembly::appendRecord(QChar recordType, const QString &progressive, const QString &text)
{
    ClientDataSet &records = m_dm.cdsFileTel;
    records.append();
    records.fieldByName(u"SFILECODREC"_s).setAsString(QString(recordType));
    records.fieldByName(u"SFILEPROGRE"_s).setAsString(progressive);
    records.fieldByName(u"SFILERECORD"_s).setAsString(text);
    records.post();
}

// --- Values that the file cannot carry as they are ------------------------------------

FieldValue RecordAssembly::screened(const std::function<QString()> &place, const FieldValue &field)
{
    if (field.isAmount())
        return field;
    const QString value = field.text();
    for (const QChar c : value) {
        if (c.category() == QChar::Other_Control)
            throw ENrError(u"%1: il valore «%2» contiene un carattere di controllo (%3) che non può essere scritto nel "
                           u"file. Correggere il valore e generare di nuovo il file."_s.arg(
                               capitalized(place()), Field::visibleText(value), Field::controlName(c)));
    }
    QList<qsizetype> unmapped;
    const QString text = Cp1252::toEncodable(value, &unmapped);
    if (!unmapped.isEmpty())
        report(u"Attenzione - %1: il valore «%2» contiene caratteri non ammessi nel file, scritti come «?»"_s.arg(
            place(), value));
    return text;
}

// A text is cut with a warning; a value of any other kind cut would be
// another value, so the run stops.
void RecordAssembly::reportCut(const QString &place, const QString &value, const QString &format, int width)
{
    if (format == u"AN" || format == u"AT" || format == u"PR") {
        report(u"Attenzione - %1: il valore «%2» supera i caratteri del campo ed è stato troncato"_s.arg(place, value));
        return;
    }
    throw ENrError(
        u"%1: il valore «%2» non entra nei %3 caratteri del campo e il file non può riportarlo intero. "
        u"Correggere il valore e generare di nuovo il file."_s.arg(capitalized(place), value, QString::number(width)));
}
