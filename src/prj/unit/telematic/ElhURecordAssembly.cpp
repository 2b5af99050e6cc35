#include "ElhURecordAssembly.h"

#include "ClientDataSet.h"
#include "Cp1252.h"
#include "Decimal.h"
#include "ElhMFile.h"
#include "ElhUFileUtil.h"
#include "ElhUModulePlan.h"
#include "NrExceptions.h"
#include "NrMessages.h"
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

void checkRecordLength(QChar recordType, qsizetype length)
{
    if (length != kRecordLength)
        throw ENrError(u"Il record %1 è lungo %2 caratteri invece di %3: il descrittore del record va corretto"_s.arg(
            recordType, QString::number(length), QString::number(kRecordLength)));
}

} // namespace

RecordAssembly::RecordAssembly(TdmElhFile &dm)
    : m_dm(dm)
{
}

void RecordAssembly::report(const QString &line) const
{
    if (m_progress)
        m_progress(line);
}

QString RecordAssembly::readValue(const ClientDataSet &dataSet, const QString &field) const
{
    return dataSet.fieldByName(field).asString();
}

QString RecordAssembly::applyInfoOrFail(const QString &info, const QString &value, const QString &number) const
{
    if (const std::optional<QString> v = applyInfo(info, value))
        return *v;
    throw ENrError(u"Campo %1 del record %2: il valore «%3» non è un numero"_s.arg(number, m_recordType, value));
}

// --- Values ---------------------------------------------------------------------

QString RecordAssembly::ResolveFieldValue(const TXMLCampoAType &field) const
{
    if (TextLib::Trim(field.Number()) == u"3")
        return u"770"_s + Edition::kReturnYear.right(2);
    if (field.Info() == u"OF")
        return field.Fixed();
    ClientDataSet *ds = sameName(field.Cds(), {&m_dm.cdsForn});
    return ds ? readValue(*ds, field.Field()) : QString();
}

QString RecordAssembly::ResolveFieldValue(const TXMLCampoBType &field) const
{
    if (TextLib::Trim(field.Number()) == u"7")
        return Edition::kSoftwareProducer.toString();
    const QString info = field.Info();
    if (info == u"OF")
        return field.Fixed();
    if (infoPresence(LayoutFamily::B, info) == InfoPresence::Skipped)
        return QString();
    ClientDataSet *ds = sameName(field.Cds(), {&m_dm.cdsSost});
    const QString value = ds ? readValue(*ds, field.Field()) : QString();
    return info == u"@1" ? applyInfoOrFail(info, value, field.Number()) : value;
}

QString RecordAssembly::ResolveFieldValue(const TXMLCampoZType &field) const
{
    return field.Fixed();
}

// Periods are kept as month and year in two fields; the layout has one.
QString RecordAssembly::composedPeriod(const ClientDataSet &dataSet, const TXMLCampoEType &field) const
{
    const QString number = TextLib::Trim(field.Number());
    if (&dataSet == &m_dm.cdsPrSv && number == u"SVXXX001")
        return readValue(dataSet, u"SPSVMESE"_s) + readValue(dataSet, u"SPSVANNO"_s);
    if (&dataSet == &m_dm.cdsPrSt && number == u"STXXX001")
        return readValue(dataSet, u"SPSTMESE"_s) + readValue(dataSet, u"SPSTANNO"_s);
    if (&dataSet == &m_dm.cdsPrSt2 && number == u"STXXX001")
        return readValue(dataSet, u"SPST2MESE"_s) + readValue(dataSet, u"SPST2ANNO"_s);
    const bool linePeriod = number.contains(u"001") && TextLib::Trim(field.Description()) == u"Periodo di riferimento";
    // Sections III and IV hold eleven lines in one row: the line is in the code.
    const QString line = number.mid(3, 2);
    if (&dataSet == &m_dm.cdsPrSt3 && linePeriod)
        return readValue(dataSet, u"SPST3MESE"_s + line) + readValue(dataSet, u"SPST3ANNO"_s + line);
    if (&dataSet == &m_dm.cdsPrSt4 && linePeriod)
        return readValue(dataSet, u"SPST2MESE"_s + line) + readValue(dataSet, u"SPST2ANNO"_s + line);
    return readValue(dataSet, field.Field());
}

template<class F>
std::optional<QString> RecordAssembly::suppliedValue(const TXMLCampoType<F> &field, QStringView producerNumber)
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

QString RecordAssembly::ResolveFieldValue(const TXMLCampoEType &field)
{
    if (const std::optional<QString> supplied = suppliedValue(field, u"7"))
        return *supplied;
    if (m_plan && field.Field().compare(kAgentField, Qt::CaseInsensitive) == 0)
        return m_plan->holds(TextLib::Trim(field.Number()).left(2)) ? m_moduleAgent : QString();
    TdmElhFile &dm = m_dm;
    ClientDataSet *ds = m_recordType == u"I"
                            ? sameName(field.Cds(), {&dm.cdsSost, &dm.cdsPrSy, &dm.cdsPrSy2, &dm.cdsPrSy3, &dm.cdsPrSy4})
                            : sameName(field.Cds(), {&dm.cdsSost, &dm.cdsPrSv, &dm.cdsPrSx, &dm.cdsPrDi, &dm.cdsPrSt,
                                                     &dm.cdsPrSt2, &dm.cdsPrSt3, &dm.cdsPrSt4});
    // A Prospetto whose rows the module has used up gives nothing.
    if (!ds || (ds != &dm.cdsSost && ds->eof()))
        return QString();
    return applyInfoOrFail(field.Info(), composedPeriod(*ds, field), field.Number());
}

QString RecordAssembly::ResolveFieldValue(const TXMLCampoJType &field, const QString &sectionCds)
{
    if (const std::optional<QString> supplied = suppliedValue(field, u"8"))
        return *supplied;
    const QString cds = sectionCds.isEmpty() ? field.Cds() : sectionCds;
    QString value = cds.isEmpty() ? QString() : readValue(m_dm.FindSectionDataset(cds), field.Field());
    // A zero that is not to be written, unless a default stands for it.
    if (field.Format() == u"NP") {
        const std::optional<Decimal> d = Decimal::parse(value);
        if (d && d->isZero())
            value.clear();
    }
    if (value.isEmpty() && !field.Fixed().isEmpty())
        value = field.Fixed();
    return applyInfoOrFail(field.Info(), value, field.Number());
}

// --- Positional records ------------------------------------------------------------

void RecordAssembly::beginPositional()
{
    m_buffer.clear();
}

template<class F>
void RecordAssembly::appendPositional(const TXMLCampoType<F> &field, const QString &value)
{
    const QString info = field.Info();
    const InfoPresence presence = infoPresence(F::kind, info);
    if (presence == InfoPresence::Skipped)
        return;
    QString encoded;
    bool cut = false;
    if (presence == InfoPresence::Always || !value.isEmpty()) {
        QString v = value;
        encoded = FormatFieldValue(v, field.Width(), field.Format(), info, &cut);
    }
    encoded = checkedText(F::tags.root.last(1).toString(), 0, field.Number(), field.Description(), value, encoded, cut);
    if (m_buffer.size() < kBufferLimit)
        m_buffer += encoded;
    else
        NrMessageDlg(u"Supera i 1900 caratteri"_s, MsgDlgType::Information);
}

template void RecordAssembly::appendPositional(const TXMLCampoAType &, const QString &);
template void RecordAssembly::appendPositional(const TXMLCampoBType &, const QString &);
template void RecordAssembly::appendPositional(const TXMLCampoZType &, const QString &);

void RecordAssembly::finishPositional(QChar recordType)
{
    QString text = m_buffer;
    text.replace(kPlaceholder, u' ');
    if (recordType == u'Z')
        text += u'A';
    checkRecordLength(recordType, text.size());
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
            const ClientDataSet *ds = sameName(cds, {&dm.cdsPrSx, &dm.cdsPrDi, &dm.cdsPrSv, &dm.cdsPrSt, &dm.cdsPrSt2,
                                                     &dm.cdsPrSt3, &dm.cdsPrSt4});
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

template<class F>
void RecordAssembly::storeElement(QString value, const TXMLCampoType<F> &field, int moduleNumber)
{
    const QString info = field.Info();
    const InfoPresence presence = infoPresence(F::kind, info);
    const QString original = value;
    QString encoded;
    bool cut = false;
    if (presence == InfoPresence::Always || (presence == InfoPresence::WhenFilled && !value.isEmpty()))
        encoded = FormatFieldValue(value, field.Width(), field.Format(), info, &cut);
    const QString number = TextLib::Trim(field.Number());
    const bool coded = number.size() == 8;
    if (dropsElement(encoded, field.Format(), field.Cds(), coded))
        return;
    const QString code = coded ? elementCode(number, moduleNumber) : QString();
    encoded = checkedText(m_recordType, m_progressive, coded ? code : number, field.Description(), original, encoded, cut);
    m_dm.cdsFieldFile.append();
    m_dm.cdsFieldFile.fieldByName(u"SFIFICODREC"_s).setAsString(m_recordType);
    m_dm.cdsFieldFile.fieldByName(u"SFIFIPROGRE"_s).setAsString(TextLib::StrZero(m_progressive, kProgressiveDigits));
    m_dm.cdsFieldFile.fieldByName(u"SFIFIRECORD"_s).setAsString(code + encoded);
    m_dm.cdsFieldFile.post();
}

void RecordAssembly::StoreFieldElement(QString value, const TXMLCampoEType &field, int moduleNumber)
{
    storeElement(std::move(value), field, moduleNumber);
}

void RecordAssembly::StoreFieldElement(QString value, const TXMLCampoJType &field, int moduleNumber)
{
    storeElement(std::move(value), field, moduleNumber);
}

template<class Section>
void RecordAssembly::emitField(const Section &section, int moduleNumber, int fieldIndex, const QString &value)
{
    const auto field = section.Campo(fieldIndex);
    const int width = field.Width();
    if (value.size() <= width) {
        StoreFieldElement(value, field, moduleNumber);
        return;
    }
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
    QString header;
    QString record;
    int k = 1;
    elements.first();
    QString current = progressive.asString();
    while (!elements.eof()) {
        if (type.asString() != wanted) {
            elements.next();
            continue;
        }
        const QString rowProgressive = progressive.asString();
        if (rowProgressive != current) {
            FlushAssembledRecord(recordType, current, record);
            header.clear();
            record.clear();
            k = 1;
            current = rowProgressive;
            continue;
        }
        const QString element = text.asString();
        if (k <= headerCount) {
            header += element;
            ++k;
        }
        // A full record goes out and the module continues in a new one with
        // the same header; the row is taken again. A header alone never
        // counts as full, or the row would be taken forever.
        if (record.size() >= kRecordFull && record.size() > header.size()) {
            FlushAssembledRecord(recordType, current, record);
            record = header;
            continue;
        }
        record += element;
        elements.next();
    }
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
    checkRecordLength(recordType, record.size());
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

// --- Reports -------------------------------------------------------------------------

QString RecordAssembly::checkedText(const QString &recordType, int module, const QString &number,
                                    const QString &description, const QString &value, const QString &encoded, bool cut)
{
    QList<qsizetype> unmapped;
    QString text = Cp1252::toEncodable(encoded, &unmapped);
    if (!cut && unmapped.isEmpty())
        return text;
    const QString record = module > 0 ? u"%1 modulo %2"_s.arg(recordType, QString::number(module)) : recordType;
    const QString field = u"record %1, campo %2 (%3)"_s.arg(record, TextLib::Trim(number), TextLib::Trim(description));
    if (cut)
        report(u"Attenzione - %1: il valore «%2» supera i caratteri del campo ed è stato troncato"_s.arg(field, value));
    if (!unmapped.isEmpty())
        report(u"Attenzione - %1: il valore «%2» contiene caratteri non ammessi nel file, scritti come «?»"_s.arg(
            field, value));
    return text;
}
