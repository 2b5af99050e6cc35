#include "FullFilesystem.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/mount.h>
#include <unistd.h>

FullFilesystem::FullFilesystem(qint64 bytes)
{
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0777";
    m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, options.constData()) == 0;
    m_error = m_mounted ? 0 : errno;
}

FullFilesystem::~FullFilesystem()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

std::string FullFilesystem::skipMessage() const
{
    return std::string("a small file system cannot be mounted here (") + std::strerror(m_error)
           + "): the full-disk tests need root, as in CI";
}

void FullFilesystem::leaveFree(qint64 bytes)
{
    const QByteArray filler = QFile::encodeName(m_dir.file(QStringLiteral("riempitivo")));
    const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        throw std::runtime_error("cannot create the filler file");
    const QByteArray block(4096, 'x');
    off_t size = 0;
    for (ssize_t n = 0; (n = ::write(fd, block.constData(), static_cast<size_t>(block.size()))) > 0;)
        size += n;
    const bool truncated = ::ftruncate(fd, size > bytes ? size - bytes : 0) == 0;
    ::close(fd);
    if (!truncated)
        throw std::runtime_error("cannot size the filler file");
}
