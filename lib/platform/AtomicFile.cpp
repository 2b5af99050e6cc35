#include "AtomicFile.h"

#include "Exceptions.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QString italianCause(int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
        return u"spazio esaurito sul disco"_s;
    case EDQUOT:
        return u"quota del disco esaurita"_s;
    case EFBIG:
        return u"il file supera la dimensione ammessa"_s;
    case EACCES:
    case EPERM:
        return u"permesso negato"_s;
    case EROFS:
        return u"il disco è in sola lettura"_s;
    case ENOENT:
    case ENOTDIR:
        return u"la cartella non esiste"_s;
    case EISDIR:
        return u"al suo posto c'è una cartella"_s;
    case EIO:
        return u"errore del disco"_s;
    default:
        return u"errore del sistema"_s;
    }
}

QByteArray nativeName(const QString &path)
{
    return QFile::encodeName(QDir::toNativeSeparators(path));
}

} // namespace

QString temporarySibling(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return path.left(slash + 1) + u'.' + path.mid(slash + 1) + u".tmp-"_s
           + QString::number(QRandomGenerator::global()->generate(), 36);
}

bool isTemporaryName(const QString &name, const QString &target)
{
    // The suffix is a 32-bit number in base 36: one to seven characters.
    static const QRegularExpression pattern(uR"(^\.(.+)\.tmp-[0-9a-z]{1,7}$)"_s);
    const QRegularExpressionMatch match = pattern.match(name);
    return match.hasMatch() && (target.isEmpty() || match.captured(1) == target);
}

QString systemErrorText(int errorNumber)
{
    return u"%1 (%2)"_s.arg(italianCause(errorNumber),
                            QString::fromLocal8Bit(std::generic_category().message(errorNumber)));
}

AtomicFile::AtomicFile(const QString &path)
    : m_path(path)
{
    struct stat old
    {
    };
    const bool exists = ::stat(nativeName(path).constData(), &old) == 0;
    // Beside the file, so that the rename stays on one disk.
    for (int attempt = 0; m_fd < 0; ++attempt) {
        m_temporary = temporarySibling(path);
        m_fd = ::open(nativeName(m_temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && (errno != EEXIST || attempt > 100)) {
            m_temporary.clear();
            fail(errno);
        }
    }
    // The new file keeps the permissions of the one it replaces.
    if (exists && ::fchmod(m_fd, old.st_mode & 07777) != 0)
        fail(errno);
}

AtomicFile::~AtomicFile()
{
    if (!m_replaced)
        discard();
}

void AtomicFile::discard()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_temporary.isEmpty())
        ::unlink(nativeName(m_temporary).constData());
    m_temporary.clear();
}

void AtomicFile::fail(int errorNumber)
{
    discard();
    const bool kept = QFile::exists(m_path);
    throw EWriteError(u"Impossibile scrivere il file «%1»: %2. %3"_s.arg(
                          QDir::toNativeSeparators(m_path), systemErrorText(errorNumber),
                          kept ? u"Il file che c'era è rimasto com'era."_s : u"Il file non è stato creato."_s),
                      errorNumber);
}

void AtomicFile::write(QByteArrayView bytes)
{
    const char *p = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(m_fd, p, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        // A write that moves nothing would loop for ever: the disk is full.
        if (n <= 0)
            fail(n < 0 ? errno : ENOSPC);
        p += n;
        left -= n;
    }
}

void AtomicFile::finish()
{
    if (m_finished)
        return;
    // Errors the file system reports late (a full disk on a network or a
    // delayed allocation) come with the sync or the close.
    if (::fsync(m_fd) != 0)
        fail(errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        fail(errno);
    // A folder in the file's place would stop the rename: say so now, while
    // the companions of this file are not replaced yet.
    struct stat target
    {
    };
    if (::stat(nativeName(m_path).constData(), &target) == 0 && S_ISDIR(target.st_mode))
        fail(EISDIR);
    m_finished = true;
}

void AtomicFile::replace()
{
    finish();
    if (::rename(nativeName(m_temporary).constData(), nativeName(m_path).constData()) != 0)
        fail(errno);
    m_replaced = true;
}

void AtomicFile::save(const QString &path, QByteArrayView bytes)
{
    AtomicFile file(path);
    file.write(bytes);
    file.commit();
}
