#include "ElhUFileWriter.h"

#include "AtomicFile.h"
#include "ClientDataSet.h"
#include "Cp1252.h"
#include "ElhURecordAssembly.h"
#include "Exceptions.h"
#include "NrFindings.h"
#include "TextLib.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <memory>
#include <vector>

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
    }

    void write(const QString &record)
    {
        const QByteArray bytes = Cp1252::encode(record);
        if (bytes.size() != kRecordLength)
            throw EInOutError(u"Il record %1 è lungo %2 byte invece di %3: il file «%4» non è stato scritto"_s.arg(
                record.left(1), QString::number(bytes.size()), QString::number(kRecordLength),
                QDir::toNativeSeparators(m_file.path())));
        m_buffer += bytes;
        m_buffer += "\r\n";
        if (m_buffer.size() >= kChunk) {
            m_file.write(m_buffer);
            m_buffer.clear();
        }
    }

    void finish()
    {
        m_file.write(m_buffer);
        m_buffer.clear();
        m_file.finish();
    }

    AtomicFile &file() { return m_file; }

private:
    // Records go to the disk in chunks, each write checked.
    static constexpr qsizetype kChunk = 1 << 20;

    AtomicFile m_file;
    QByteArray m_buffer;
};

QString partName(const QString &fileName, int part)
{
    return part == 1 ? fileName : fileName + u'_' + QString::number(part);
}

// The "_N" parts beyond the last one written, left by an earlier supply.
QStringList staleParts(const QString &fileName, int written)
{
    const QFileInfo chosen(fileName);
    const QRegularExpression part(u"^"_s + QRegularExpression::escape(chosen.fileName()) + u"_([0-9]+)$"_s);
    QStringList stale;
    for (const QFileInfo &entry : chosen.dir().entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QRegularExpressionMatch m = part.match(entry.fileName());
        if (m.hasMatch() && m.captured(1).toInt() > written && !m.captured(1).startsWith(u'0'))
            stale.append(entry.filePath());
    }
    std::sort(stale.begin(), stale.end(),
              [](const QString &a, const QString &b) { return a.size() != b.size() ? a.size() < b.size() : a < b; });
    return stale;
}

} // namespace

SupplyFiles WriteSupplyFiles(ClientDataSet &records, const SupplyContents &contents, const QString &fileName,
                             FindingSink &findings)
{
    const Field &type = records.fieldByName(u"SFILECODREC"_s);
    const Field &progressive = records.fieldByName(u"SFILEPROGRE"_s);
    const Field &text = records.fieldByName(u"SFILERECORD"_s);

    const int dataRecords = records.recordCount() - 3;
    const int files =
        dataRecords <= kDataRecordsPerFile ? 1 : (dataRecords + kDataRecordsPerFile - 1) / kDataRecordsPerFile;
    if (files > 1)
        findings.warning(
            u"ATTENZIONE. La fornitura supera il limite previsto,\nverranno generati più file telematici."_s);

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
    patch(recordB, 1141, box(contents.stPresent));
    patch(recordB, 1142, box(contents.svPresent));
    patch(recordB, 1143, box(contents.sxPresent));
    patch(recordB, 1144, box(contents.syPresent));
    patch(recordB, 1146, box(contents.diPresent));

    QStringList names;
    records.first();
    std::vector<std::unique_ptr<SupplyFile>> parts;
    for (int i = 1; i <= files; ++i) {
        SupplyFile &file = *parts.emplace_back(std::make_unique<SupplyFile>(partName(fileName, i)));
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
    }
    SupplyFiles result;
    for (const auto &part : parts)
        part->finish();
    for (const auto &part : parts) {
        part->file().replace();
        result.written.append(part->file().path());
    }
    for (const QString &stale : staleParts(fileName, files)) {
        if (!QFile::remove(stale))
            throw EInOutError(u"Impossibile eliminare «%1», parte di una fornitura precedente con lo stesso nome: "
                              "eliminarlo prima di inviare la nuova fornitura."_s.arg(QDir::toNativeSeparators(stale)));
        result.removed.append(stale);
    }
    return result;
}

QString SupplyFilesMessage(const SupplyFiles &files)
{
    QStringList native;
    for (const QString &f : files.written)
        native.append(QDir::toNativeSeparators(f));
    QString text = native.size() == 1
                       ? u"Generazione file completata con successo. Il file è presente in:\n"_s + native.first()
                       : u"Generazione file completata con successo. I %1 file sono presenti in:\n"_s.arg(native.size())
                             + native.join(u'\n');
    if (!files.removed.isEmpty()) {
        QStringList removed;
        for (const QString &f : files.removed)
            removed.append(QDir::toNativeSeparators(f));
        text += u"\n\nEliminati i file di una fornitura precedente con lo stesso nome:\n"_s + removed.join(u'\n');
    }
    return text;
}
