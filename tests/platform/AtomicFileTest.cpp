#include "AtomicFile.h"
#include "Exceptions.h"
#include "FullFilesystem.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// Writes in small pieces, as the writers do: the last piece is the one that
// a buffered writer would lose.
QString errorOf(const QString &path, const QByteArray &bytes)
{
    try {
        AtomicFile file(path);
        for (qsizetype at = 0; at < bytes.size(); at += 1000)
            file.write(QByteArrayView(bytes).sliced(at, std::min<qsizetype>(1000, bytes.size() - at)));
        file.commit();
    } catch (const EInOutError &e) {
        return e.message();
    }
    return QString();
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(illeggibile)");
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

TEST(AtomicFile, AFullDiskKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    FullFilesystem disk(256 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << disk.skipMessage();
    const QString old = disk.file(u"dati.cds"_s);
    AtomicFile::save(old, "vecchio");
    QFile::setPermissions(old, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const QFile::Permissions permissions = QFile::permissions(old);
    disk.leaveFree(8 * 1024);
    const QByteArray big(64 * 1024, 'n');

    EXPECT_EQ(errorOf(old, big), u"Impossibile scrivere il file «%1»: spazio esaurito sul disco (No space left on device). "
                                 "Il file che c'era è rimasto com'era."_s.arg(old));
    EXPECT_EQ(contents(old), "vecchio");
    const QString fresh = disk.file(u"nuovo.cds"_s);
    EXPECT_TRUE(errorOf(fresh, big).endsWith(u"Il file non è stato creato."_s));
    EXPECT_EQ(entries(disk.path()), (QStringList{u"dati.cds"_s, u"riempitivo"_s}));

    // With room again the new file replaces the old one and keeps its permissions.
    QFile::remove(disk.file(u"riempitivo"_s));
    AtomicFile::save(old, big);
    EXPECT_EQ(contents(old), big);
    EXPECT_EQ(QFile::permissions(old), permissions);
}

TEST(AtomicFile, AFileThatCannotBeReplacedOrIsNotCommittedLeavesNothingBehind)
{
    TempDir dir;
    QDir().mkpath(dir.file(u"77024"_s));
    EXPECT_TRUE(errorOf(dir.file(u"77024"_s), "A").contains(u": al suo posto c'è una cartella (Is a directory)"_s));
    EXPECT_TRUE(errorOf(dir.file(u"manca/77024"_s), "A").contains(u": la cartella non esiste (No such file or directory)"_s));
    {
        AtomicFile abandoned(dir.file(u"parte"_s));
        abandoned.write("mezzo");
        abandoned.finish();
    }
    EXPECT_EQ(entries(dir.path()), QStringList{u"77024"_s});
}
