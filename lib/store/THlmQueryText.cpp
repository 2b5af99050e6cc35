#include "THlmQueryText.h"

#include "AtomicFile.h"
#include "Exceptions.h"
#include "HlmExceptions.h"
#include "NrFindings.h"
#include "NrQuery.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageAuthenticationCode>
#include <QSet>
#include <QXmlStreamReader>

using namespace Qt::Literals::StringLiterals;

namespace {

// The fixed key of the certificate: ten letters of mixed case, 32, "Z", "A".
constexpr QByteArrayView kCertificateKey = "KbrQueryTx32ZA";

QString certificatePathOf(const QString &cdsPath)
{
    const QFileInfo info(cdsPath);
    return info.path() + u'/' + info.completeBaseName() + u".unxc"_s;
}

// Whether two version texts have the same four numeric parts.
bool sameVersion(const QString &a, const QString &b)
{
    const QStringList pa = a.split(u'.');
    const QStringList pb = b.split(u'.');
    if (pa.size() != 4 || pb.size() != 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        bool okA = false;
        bool okB = false;
        if (pa[i].trimmed().toInt(&okA) != pb[i].trimmed().toInt(&okB) || !okA || !okB)
            return false;
    }
    return true;
}

} // namespace

THlmQueryText::THlmQueryText()
    : m_store(u"kbr_QueryText"_s)
{
    defineFields(m_store);
}

void THlmQueryText::defineFields(ClientDataSet &store)
{
    store.close();
    store.fieldDefs().clear();
    store.fieldDefs().add(u"Query"_s, FieldType::String, 64);
    store.fieldDefs().add(u"Tipo"_s, FieldType::String, 32);
    store.fieldDefs().add(u"Indice"_s, FieldType::Integer);
    store.fieldDefs().add(u"SQL"_s, FieldType::Memo);
    store.createDataSet();
}

QString THlmQueryText::key(const QString &name, const QString &kind, int index)
{
    return name + u'\x1f' + kind + u'\x1f' + QString::number(index);
}

void THlmQueryText::load(const QString &definitionsFolder)
{
    const QString path = QDir(definitionsFolder).filePath(QString::fromUtf16(kFileName));
    m_verify = true;
    m_certificatePath = certificatePathOf(path);
    m_certificate.clear();
    m_texts.clear();
    defineFields(m_store);
    QFile file(path);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(u"Impossibile aprire l'archivio delle query «%1»: %2"_s.arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    try {
        m_store.loadFromBytes(bytes, path);
        for (const char16_t *f : {u"Query", u"Tipo", u"Indice", u"SQL"}) {
            if (!m_store.findField(QString::fromUtf16(f)))
                throw EDatabaseError(
                    u"Archivio delle query «%1»: manca il campo %2"_s.arg(path, QString::fromUtf16(f)));
        }
    } catch (const EDatabaseError &) {
        // A damaged store is an invalid one: the validity check refuses it
        // with the certificate message, as it would a changed file.
        defineFields(m_store);
        return;
    }
    m_certificate = certificate(bytes);
    const Field &query = m_store.fieldByName(u"Query"_s);
    const Field &kind = m_store.fieldByName(u"Tipo"_s);
    const Field &index = m_store.fieldByName(u"Indice"_s);
    const Field &sql = m_store.fieldByName(u"SQL"_s);
    for (m_store.first(); !m_store.eof(); m_store.next())
        m_texts.insert(key(query.asString(), kind.asString(), index.asInteger()), sql.asString());
    m_store.first();
}

void THlmQueryText::fetch(const QString &name, TNrQuery &target, int index, const QString &kind)
{
    target.setSql(m_texts.value(key(name, kind, index)));
    m_last = name;
    if (target.sql().isEmpty())
        throw EAssertionFailed(u"Query: "_s + name);
}

QString THlmQueryText::format(const QString &text, const QStringList &args)
{
    QString out;
    out.reserve(text.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'%') {
            out += c;
            continue;
        }
        const QChar conversion = i + 1 < text.size() ? text.at(i + 1) : QChar();
        if (conversion == u'%') {
            out += u'%';
        } else if ((conversion == u's' || conversion == u'd') && next < args.size()) {
            out += args.at(next++);
        } else {
            throw EConvertError(u"Formato della query non valido o non compatibile con gli argomenti: %1"_s.arg(text));
        }
        ++i;
    }
    if (next != args.size())
        throw EConvertError(u"Formato della query non valido o non compatibile con gli argomenti: %1"_s.arg(text));
    return out;
}

QString THlmQueryText::decorate(const std::exception &error) const
{
    const auto *own = dynamic_cast<const Exception *>(&error);
    const QString text = own ? own->message() : QString::fromUtf8(error.what());
    if (m_last.isEmpty() || dynamic_cast<const EHlmWarning *>(&error) || dynamic_cast<const EAssertionFailed *>(&error))
        return text;
    return text + u"\r\nUltima operazione DB: "_s + m_last;
}

bool THlmQueryText::checkValidity(const QString &applicationName, FindingSink &findings)
{
    if (m_verify) {
        QByteArray written;
        QFile file(m_certificatePath);
        if (file.open(QIODevice::ReadOnly))
            written = file.readAll();
        const bool matches = !m_certificate.isEmpty() && m_certificate + "\r\n" == written;
        m_certificate.clear();
        if (!matches) {
            findings.error(
                u"Certificato query non trovato od errato. Aggiornare il programma \"%1\""_s.arg(applicationName));
            return false;
        }
    }
    const QString program = QCoreApplication::applicationName().toUpper();
    const QString expected = QCoreApplication::applicationVersion();
    QString declared;
    if (m_store.locate(u"Query"_s, QVariant(u"VER_"_s + program)))
        declared = m_store.fieldByName(u"Tipo"_s).asString();
    if (!sameVersion(declared, expected)) {
        findings.error(
            u"Versione delle query (%1) diversa dalla versione del programma (%2).\r\nAggiornare il programma."_s.arg(
                declared.isEmpty() ? u"mancante"_s : declared, expected));
        return false;
    }
    return true;
}

void THlmQueryText::loadSource(ClientDataSet &store, const QByteArray &xml, const QString &source,
                               const QString &programName, const QString &version)
{
    defineFields(store);
    QXmlStreamReader reader(xml);
    auto fail = [&](const QString &why) {
        throw EDatabaseError(u"Sorgente delle query «%1», riga %2: %3"_s.arg(source).arg(reader.lineNumber()).arg(why));
    };
    if (!reader.readNextStartElement() || reader.name() != u"QueryText")
        fail(u"manca l'elemento «QueryText»"_s);
    QSet<QString> seen;
    while (reader.readNextStartElement()) {
        if (reader.name() != u"Riga")
            fail(u"elemento «%1» inatteso"_s.arg(reader.name()));
        const QXmlStreamAttributes a = reader.attributes();
        const QString name = a.value(u"Query"_s).toString();
        const QString kind = a.value(u"Tipo"_s).toString();
        bool indexOk = true;
        const int index = a.hasAttribute(u"Indice"_s) ? a.value(u"Indice"_s).toInt(&indexOk) : 0;
        const QString sql = reader.readElementText().trimmed();
        if (!name.startsWith(u"QRY_"))
            fail(u"il nome «%1» non inizia con QRY_"_s.arg(name));
        if (kind != u"SELECT" && kind != u"EXECUTE")
            fail(u"%1: tipo «%2» diverso da SELECT ed EXECUTE"_s.arg(name, kind));
        if (!indexOk)
            fail(u"%1: indice non numerico"_s.arg(name));
        if (sql.isEmpty())
            fail(u"%1: testo SQL vuoto"_s.arg(name));
        if (seen.contains(key(name, kind, index)))
            fail(u"%1 (%2, indice %3) ripetuta"_s.arg(name, kind).arg(index));
        seen.insert(key(name, kind, index));
        store.append();
        store.fieldByName(u"Query"_s).setAsString(name);
        store.fieldByName(u"Tipo"_s).setAsString(kind);
        store.fieldByName(u"Indice"_s).setAsInteger(index);
        store.fieldByName(u"SQL"_s).setAsString(sql);
        store.post();
    }
    if (reader.hasError())
        fail(reader.errorString());
    store.append();
    store.fieldByName(u"Query"_s).setAsString(u"VER_"_s + programName.toUpper());
    store.fieldByName(u"Tipo"_s).setAsString(version);
    store.fieldByName(u"Indice"_s).setAsInteger(0);
    store.post();
    store.mergeChangeLog();
}

QByteArray THlmQueryText::certificate(const QByteArray &storeFile)
{
    return QMessageAuthenticationCode::hash(storeFile, kCertificateKey.toByteArray(), QCryptographicHash::Sha256)
        .toHex()
        .toUpper();
}

void THlmQueryText::save(ClientDataSet &store, const QString &cdsPath)
{
    const QByteArray bytes = store.saveToBytes();
    const QByteArray certificateLine = certificate(bytes) + "\r\n";
    // Both are written before either replaces its old copy, so that the
    // store never meets a certificate of another version.
    AtomicFile storeFile(cdsPath);
    storeFile.write(bytes);
    AtomicFile certificateFile(certificatePathOf(cdsPath));
    certificateFile.write(certificateLine);
    storeFile.finish();
    certificateFile.finish();
    storeFile.replace();
    certificateFile.replace();
}
