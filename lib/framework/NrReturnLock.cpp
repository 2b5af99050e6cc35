#include "NrReturnLock.h"

#include "NrBusyWait.h"
#include "NrConnection.h"
#include "NrExceptions.h"
#include "NrQuery.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>
#include <QtEndian>

using namespace Qt::Literals::StringLiterals;

namespace {

// How often a lock held by another run is tried again.
constexpr int kPollMs = 200;
const QString kRefused = u"Un'altra importazione è in corso su questa dichiarazione"_s;

QString returnName(const QString &program, int year, int month)
{
    return u"%1-%2-%3"_s.arg(program.toLower()).arg(year).arg(month);
}

// The same return gives the same key in every process; other programs'
// advisory locks are not expected to meet it.
qint64 advisoryKey(const QString &program, int year, int month)
{
    const QByteArray digest = QCryptographicHash::hash(
        (u"elh770 dichiarazione "_s + returnName(program, year, month)).toUtf8(), QCryptographicHash::Sha256);
    return qFromBigEndian<qint64>(digest.constData());
}

} // namespace

TNrReturnLock::TNrReturnLock(TdmNrConnection &connection, const QString &program, int year, int month)
    : m_connection(connection)
{
    if (connection.isPostgreSQL()) {
        m_key = advisoryKey(program, year, month);
    } else {
        m_path = QFileInfo(connection.settings().database).absoluteFilePath() + u'.' + returnName(program, year, month)
                 + u".lock"_s;
        m_file = std::make_unique<QLockFile>(m_path);
        // Only a file whose process is gone is stale, however long a run lasts.
        m_file->setStaleLockTime(0);
    }
    if (tryOnce())
        return;
    const int seconds = connection.settings().waitSeconds;
    NrBusyWaitService *service = busyWaitService();
    if (service)
        service->begin(u"%1: attendo al massimo %2 secondi…"_s.arg(kRefused).arg(seconds));
    const QDeadlineTimer deadline(seconds * qint64(1000));
    while (!deadline.hasExpired() && !(service && service->cancelled())) {
        QThread::msleep(kPollMs);
        if (tryOnce())
            return;
    }
    throw ENrError(kRefused);
}

TNrReturnLock::~TNrReturnLock()
{
    if (!m_held)
        return;
    if (m_file) {
        m_file->unlock();
        return;
    }
    if (!m_connection.connected())
        return; // the session, and its lock, ended with the connection
    try {
        TNrQuery q(m_connection);
        q.fetch(u"QRY_DICH_SBLOCCA"_s, 0, u"SELECT"_s);
        q.setParam(u"CHIAVE"_s, m_key);
        q.scalar();
    } catch (const Exception &) {
        // The lock then lasts as long as the session: the server lets it go
        // when the connection closes.
    }
}

bool TNrReturnLock::tryOnce()
{
    if (m_file) {
        m_held = m_file->tryLock(0);
        if (!m_held && m_file->error() == QLockFile::PermissionError) {
            throw ENrError(
                u"Impossibile creare il file di blocco «%1» accanto al database: permesso negato"_s.arg(m_path));
        }
        return m_held;
    }
    TNrQuery q(m_connection);
    q.fetch(u"QRY_DICH_BLOCCA"_s, 0, u"SELECT"_s);
    q.setParam(u"CHIAVE"_s, m_key);
    m_held = q.scalar().toBool();
    return m_held;
}
