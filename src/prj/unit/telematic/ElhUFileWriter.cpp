#include "ElhUFileWriter.h"

#include "ClientDataSet.h"
#include "Cp1252.h"
#include "ElhMFile.h"
#include "ElhUFileWizard.h"
#include "Exceptions.h"
#include "NrMessages.h"
#include "TextLib.h"

#include <QSaveFile>

using namespace Qt::Literals::StringLiterals;

namespace {

// Replaces the characters at 1-based positions.
void patch(QString &record, int position, const QString &text)
{
    record.replace(position - 1, text.size(), text);
}

QString box(bool ticked)
{
    return ticked ? u"1"_s : u"0"_s;
}

class SupplyFile
{
public:
    explicit SupplyFile(const QString &name)
        : m_file(name)
    {
        if (!m_file.open(QIODevice::WriteOnly))
            fail();
    }

    void write(const QString &record)
    {
        const QByteArray bytes = Cp1252::encode(record);
        if (bytes.size() != kRecordLength)
            throw EInOutError(u"Il record %1 è lungo %2 byte invece di %3: il file «%4» non è stato scritto"_s.arg(
                record.left(1), QString::number(bytes.size()), QString::number(kRecordLength), m_file.fileName()));
        if (m_file.write(bytes + "\r\n") != bytes.size() + 2)
            fail();
    }

    void commit()
    {
        if (!m_file.commit())
            fail();
    }

private:
    [[noreturn]] void fail()
    {
        throw EInOutError(u"Impossibile scrivere il file «%1»: %2"_s.arg(m_file.fileName(), m_file.errorString()));
    }

    QSaveFile m_file;
};

} // namespace

QStringList WriteSupplyFiles(FileWizard &wizard)
{
    ClientDataSet &records = wizard.dm().cdsFileTel;
    const Field &type = records.fieldByName(u"SFILECODREC"_s);
    const Field &progressive = records.fieldByName(u"SFILEPROGRE"_s);
    const Field &text = records.fieldByName(u"SFILERECORD"_s);

    const int dataRecords = records.recordCount() - 3;
    const int files = dataRecords <= kDataRecordsPerFile ? 1 : (dataRecords + kDataRecordsPerFile - 1) / kDataRecordsPerFile;
    if (files > 1)
        NrMessageDlg(u"ATTENZIONE. La fornitura supera il limite previsto,\n\rVerranno generati più file telematici."_s,
                     MsgDlgType::Warning);

    QString recordA;
    QString recordB;
    QString recordZ;
    for (records.first(); !records.eof(); records.next()) {
        const QString t = type.asString();
        if (t == u"A")
            recordA = text.asString();
        else if (t == u"B")
            recordB = text.asString();
        else if (t == u"Z")
            recordZ = text.asString();
    }
    patch(recordB, 1141, box(wizard.stPresent));
    patch(recordB, 1142, box(wizard.svPresent));
    patch(recordB, 1143, box(wizard.sxPresent));
    patch(recordB, 1144, box(wizard.recordIModules > 0));
    patch(recordB, 1146, box(wizard.diPresent));

    QStringList names;
    records.first();
    for (int i = 1; i <= files; ++i) {
        names.append(i == 1 ? wizard.fileName : wizard.fileName + u'_' + QString::number(i));
        SupplyFile file(names.last());
        QString head = recordA;
        patch(head, 522, TextLib::StrZero(files > 1 ? i : 0, 4));
        patch(head, 526, TextLib::StrZero(files > 1 ? files : 0, 4));
        file.write(head);
        file.write(recordB);
        int written = 0;
        int d = 0;
        int iRecords = 0;
        int j = 0;
        for (; !records.eof() && written < kDataRecordsPerFile; records.next()) {
            if (progressive.asString().isEmpty())
                continue;
            file.write(text.asString());
            ++written;
            const QString t = type.asString();
            d += t == u"D" ? 1 : 0;
            iRecords += t == u"I" ? 1 : 0;
            j += t == u"J" ? 1 : 0;
        }
        QString tail = recordZ;
        patch(tail, 25, TextLib::StrZero(d, 9));
        patch(tail, 43, TextLib::StrZero(iRecords, 9));
        patch(tail, 52, TextLib::StrZero(j, 9));
        file.write(tail);
        file.commit();
    }
    return names;
}
