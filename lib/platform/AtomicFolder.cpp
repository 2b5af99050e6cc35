#include "AtomicFolder.h"

#include "AtomicFile.h"
#include "Exceptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray nativeName(const QString &path)
{
    return QFile::encodeName(QDir::toNativeSeparators(path));
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

AtomicFolder::AtomicFolder(const QString &path, const QStringList &names)
    : m_names(names)
{
    const QFileInfo target(path);
    // A link to a folder stays a link: the folder it leads to is replaced.
    m_path = target.exists() ? target.canonicalFilePath() : QDir::cleanPath(target.absoluteFilePath());
    m_parent = QFileInfo(m_path).absolutePath();
    struct stat old
    {
    };
    const bool exists = ::stat(nativeName(m_path).constData(), &old) == 0;
    if (exists) {
        struct stat parent
        {
        };
        if (!S_ISDIR(old.st_mode))
            throw EInOutError(
                u"Impossibile scrivere nella cartella «%1»: al suo posto c'è un file."_s.arg(shown(m_path)));
        if (::stat(nativeName(m_parent).constData(), &parent) == 0 && parent.st_dev != old.st_dev)
            throw EInOutError(u"La cartella «%1» è la radice di un disco e non può essere sostituita: scegliere una "
                              "sua sottocartella."_s.arg(shown(m_path)));
        requireOnlyOwnFiles();
    }
    removeStaleTemporaries();
    for (int attempt = 0; m_temporary.isEmpty(); ++attempt) {
        const QString candidate = temporarySibling(m_path);
        if (::mkdir(nativeName(candidate).constData(), 0777) == 0)
            m_temporary = candidate;
        else if (errno != EEXIST || attempt > 100)
            fail(u"creare la cartella temporanea «%1»"_s.arg(shown(candidate)), errno);
    }
    // The new folder keeps the permissions of the one it replaces.
    if (exists && ::chmod(nativeName(m_temporary).constData(), old.st_mode & 07777) != 0)
        fail(u"creare la cartella temporanea «%1»"_s.arg(shown(m_temporary)), errno);
}

AtomicFolder::~AtomicFolder()
{
    if (!m_temporary.isEmpty())
        QDir(m_temporary).removeRecursively();
}

void AtomicFolder::fail(const QString &what, int errorNumber)
{
    if (!m_temporary.isEmpty())
        QDir(m_temporary).removeRecursively();
    m_temporary.clear();
    const QString state = QFileInfo::exists(m_path) ? u"La cartella «%1» è rimasta com'era."_s
                                                    : u"La cartella «%1» non è stata creata."_s;
    throw EInOutError(u"Impossibile %1: %2. %3"_s.arg(what, systemErrorText(errorNumber), state.arg(shown(m_path))));
}

void AtomicFolder::requireOnlyOwnFiles() const
{
    QStringList strangers;
    const QFileInfoList entries =
        QDir(m_path).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        const bool own =
            entry.isFile() && !entry.isSymLink()
            && (m_names.contains(name) || std::any_of(m_names.begin(), m_names.end(), [&](const QString &n) {
                    return isTemporaryName(name, n);
                }));
        if (!own)
            strangers.append(name);
    }
    if (strangers.isEmpty())
        return;
    const QString what =
        strangers.size() == 1
            ? u"«%1», che non è tra i file che vi si scrivono e andrebbe perso sostituendola: scegliere una cartella "
              "vuota o spostare altrove «%1»"_s.arg(strangers.first())
            : u"%1 elementi che non sono tra i file che vi si scrivono e andrebbero persi sostituendola, tra cui "
              "«%2»: scegliere una cartella vuota o spostarli altrove"_s.arg(strangers.size())
                  .arg(strangers.first());
    throw EInOutError(u"La cartella «%1» contiene %2. La cartella è rimasta com'era."_s.arg(shown(m_path), what));
}

void AtomicFolder::removeStaleTemporaries() const
{
    const QString target = QFileInfo(m_path).fileName();
    const QFileInfoList entries =
        QDir(m_parent).entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoSymLinks | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (isTemporaryName(entry.fileName(), target))
            QDir(entry.absoluteFilePath()).removeRecursively();
    }
}

void AtomicFolder::save(const QString &name, QByteArrayView bytes)
{
    try {
        AtomicFile::save(m_temporary + u'/' + name, bytes);
    } catch (const EWriteError &e) {
        fail(u"scrivere il file «%1»"_s.arg(shown(m_path + u'/' + name)), e.errorNumber());
    }
}

void AtomicFolder::commit()
{
    const QByteArray temporary = nativeName(m_temporary);
    const QByteArray target = nativeName(m_path);
    if (!QFileInfo::exists(m_path)) {
        if (::rename(temporary.constData(), target.constData()) != 0)
            fail(u"creare la cartella «%1»"_s.arg(shown(m_path)), errno);
        m_temporary.clear();
        return;
    }
    requireOnlyOwnFiles();
    // One step where the file system can swap two folders; the old one then
    // stands under the temporary name.
    if (::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, target.constData(), RENAME_EXCHANGE) != 0) {
        if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
            fail(u"sostituire la cartella «%1»"_s.arg(shown(m_path)), errno);
        // Elsewhere the old folder steps aside, the new one takes its name,
        // and the old one comes back when that fails.
        const QString aside = m_temporary + u".old"_s;
        const QByteArray old = nativeName(aside);
        if (::rename(target.constData(), old.constData()) != 0)
            fail(u"sostituire la cartella «%1»"_s.arg(shown(m_path)), errno);
        if (::rename(temporary.constData(), target.constData()) != 0) {
            const int cause = errno;
            ::rename(old.constData(), target.constData());
            fail(u"sostituire la cartella «%1»"_s.arg(shown(m_path)), cause);
        }
        QDir(aside).removeRecursively();
        m_temporary.clear();
        return;
    }
    QDir(m_temporary).removeRecursively();
    m_temporary.clear();
}
