#pragma once

#include "ElhUFileUtil.h"
#include "ElhUXmlRec.h"

#include <QChar>
#include <QString>

#include <functional>
#include <optional>

class ClientDataSet;
class FindingSink;
class ModulePlan;
class TdmElhFile;

// Receives the progress lines of a generation run, one at a time.
using ProgressSink = std::function<void(const QString &line)>;

// Every record of the supply file is 1,897 characters followed by "A";
// the writer adds CR LF.
inline constexpr int kRecordLength = 1898;

// Turns the fields of the layout descriptors into the records of the
// supply file, on the datasets of the file data module.
//
// Positional records (A, B, Z) are the concatenation of their encoded fields.
// Records D, I and J are made of field elements: each element is stored as a
// row of TFIFI_FIELDSFILE (an 8-character code and a 16-character value, or
// a positional header field alone) under the progressive number of its
// module, and AssembleFieldRecords packs the elements of one record type
// into records of TFILE_FILETELEM, each opening with the module's header.
//
// A value holding characters that Windows-1252 lacks is written with one "?"
// for each and reported in the progress lines with its record and field; a
// text cut to its width likewise. Amounts reach the encoding as Decimal. A control character, or a value of another
// kind (an amount, a date, a code) that does not fit its field, stops the run
// with a message naming the record, the Prospetto and its line where there is
// one, the field and the value: the file never carries an altered value.
class RecordAssembly
{
public:
    RecordAssembly(TdmElhFile &dm, FindingSink &findings);

    TdmElhFile &dm() const { return m_dm; }
    void setProgress(ProgressSink sink) { m_progress = std::move(sink); }

    // The record type letter set by the field numbered "1" of a descriptor
    // of family E or J.
    const QString &recordType() const { return m_recordType; }
    // The progressive number of the module being built.
    int progressive() const { return m_progressive; }
    void setProgressive(int progressive) { m_progressive = progressive; }
    // The plan of the modules of record D or I and the agent of the module
    // being built (null outside those records). A field of the agent's code
    // (SSOE7CODICE) then takes the module's agent in every module that holds
    // rows of the field's Prospetto, whatever its own dataset holds.
    void setModule(const ModulePlan *plan, const QString &agent);

    // The value of a field: its constant, a value the generator supplies, or
    // the named field of the current row of a dataset of the family.
    FieldValue ResolveFieldValue(const TXMLCampoAType &field) const;
    FieldValue ResolveFieldValue(const TXMLCampoBType &field) const;
    FieldValue ResolveFieldValue(const TXMLCampoEType &field);
    FieldValue ResolveFieldValue(const TXMLCampoJType &field, const QString &sectionCds);
    FieldValue ResolveFieldValue(const TXMLCampoZType &field) const;

    // Positional records: clear the buffer, append each field in order,
    // then finish the record into TFILE_FILETELEM. A buffer that already
    // holds 1,900 characters refuses further fields and reports "Supera i
    // 1900 caratteri" to the findings; a finished record that is not 1,898 characters long
    // stops the generation.
    void beginPositional();
    template<class F>
    void appendPositional(const TXMLCampoType<F> &field, const FieldValue &value);
    // Resolves and appends every field of the section.
    template<class F>
    void appendPositional(const TXMLSectionType<F> &section)
    {
        for (int i = 0; i < section.Count(); ++i)
            appendPositional(section.Campo(i), ResolveFieldValue(section.Campo(i)));
    }
    void finishPositional(QChar recordType);

    // Encodes a value of a record D, I or J and stores it as an element of
    // the current module, or drops it (an empty element, an unticked box).
    void StoreFieldElement(const FieldValue &value, const TXMLCampoEType &field, int moduleNumber);
    void StoreFieldElement(const FieldValue &value, const TXMLCampoJType &field, int moduleNumber);
    // Resolves a field and stores it; a text (AN) longer than the field goes
    // in continuation pieces: the first 16 characters, then "+" and the next
    // Width - 1 characters, until nothing is left.
    void EmitLayoutField(const TXMLSectionEType &section, int moduleNumber, int fieldIndex);
    void EmitLayoutField(const TXMLSectionJType &section, int moduleNumber, int fieldIndex);
    // Every field of a section, with the module number of one repetition.
    template<class F>
    void emitSection(const TXMLSectionType<F> &section, int moduleNumber)
    {
        for (int i = 0; i < section.Count(); ++i)
            EmitLayoutField(section, moduleNumber, i);
    }

    // Packs the stored elements of one record type into records that open
    // with the first `headerCount` elements of their module; a module that
    // does not fit in one record continues in further records with the same
    // header. The continuation pieces of a field stay in one record.
    void AssembleFieldRecords(QChar recordType, int headerCount);
    // Turns the placeholders into blanks, pads the record to 1,897
    // characters, appends "A" and stores it with its progressive number.
    void FlushAssembledRecord(QChar recordType, const QString &progressive, QString record);

private:
    template<class F>
    void storeElement(const FieldValue &value, const TXMLCampoType<F> &field, int moduleNumber);
    template<class Section>
    void emitField(const Section &section, int moduleNumber, int fieldIndex, const FieldValue &value);
    bool dropsElement(const QString &encoded, const QString &format, const QString &cds, bool coded) const;
    // A field of kind Decimal gives its amount, any other its text.
    FieldValue readValue(const ClientDataSet &dataSet, const QString &field) const;
    QString readText(const ClientDataSet &dataSet, const QString &field) const;
    // What a field of family E or J takes without reading a dataset: the
    // record type, the progressive number, the producer, a constant, or
    // nothing for an Info code the family does not honour.
    template<class F>
    std::optional<FieldValue> suppliedValue(const TXMLCampoType<F> &field, QStringView producerNumber);
    FieldValue composedPeriod(const ClientDataSet &dataSet, const TXMLCampoEType &field) const;
    FieldValue applyInfoOrFail(const QString &info, const FieldValue &value, const QString &number) const;
    // Where an element is, for the messages: its record, and for a field of a
    // Prospetto the Prospetto, the line, the module and its extinct agent.
    QString elementPlace(const QString &number, const QString &description, int moduleNumber) const;
    // The value as the file can carry it: a control character stops the run;
    // a character that Windows-1252 lacks becomes one "?" and is reported
    // (`place` names the field, asked only then). An amount passes as it is.
    FieldValue screened(const std::function<QString()> &place, const FieldValue &value);
    // A value longer than its field: a text is cut and reported, any other
    // value stops the run.
    void reportCut(const QString &place, const QString &value, const QString &format, int width);
    void appendRecord(QChar recordType, const QString &progressive, const QString &text);
    void report(const QString &line) const;

    TdmElhFile &m_dm;
    FindingSink &m_findings;
    ProgressSink m_progress;
    QString m_recordType;
    int m_progressive = 0;
    const ModulePlan *m_plan = nullptr;
    QString m_moduleAgent;
    QString m_buffer;
    // The first field of the positional record under way that did not fill
    // its width, for the message of a record of the wrong length.
    QString m_misfit;
};
