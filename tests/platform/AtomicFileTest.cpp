#include "AtomicFile.h"
#include "AtomicFolder.h"
#include "Exceptions.h"
#include "FullFilesystem.h"
#include "QtPrinters.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

// Writes a folder of these files; the error, or nothing.
QString folderError(const QString &path, const QList<std::pair<QString, QByteArray>> &files)
{
    QStringList names;
    for (const auto &file : files)
        names.append(file.first);
    try {
        AtomicFolder folder(path, names);
        for (const auto &[name, bytes] : files)
            folder.save(name, bytes);
        folder.commit();
    } catch (const EInOutError &e) {
        return e.message();
    }
    return QString();
}

// The names and bytes of a folder's files.
QByteArray folderContents(const QString &folder)
{
    QByteArray all;
    for (const QString &name : entries(folder))
        all += name.toUtf8() + '\n' + contents(folder + u'/' + name) + '\n';
    return all;
}

} // namespace

TEST(AtomicFile, AFullDiskKeepsTheOldFileAndFolderAndLeavesNoTemporaryOnes)
{
    FullFilesystem disk(256 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << disk.skipMessage();
    const QString old = disk.file(u"dati.cds"_s);
    AtomicFile::save(old, "vecchio");
    QFile::setPermissions(old, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const QFile::Permissions permissions = QFile::permissions(old);
    const QString folder = disk.file(u"esporta"_s);
    ASSERT_EQ(folderError(folder, {{u"A.cds"_s, "vecchio A"}, {u"B.cds"_s, "vecchio B"}}), QString());
    const QByteArray oldFolder = folderContents(folder);
    disk.leaveFree(8 * 1024);
    const QByteArray big(64 * 1024, 'n');

    EXPECT_EQ(errorOf(old, big),
              u"Impossibile scrivere il file «%1»: spazio esaurito sul disco (No space left on device). "
              "Il file che c'era è rimasto com'era."_s.arg(old));
    EXPECT_EQ(contents(old), "vecchio");
    EXPECT_TRUE(errorOf(disk.file(u"nuovo.cds"_s), big).endsWith(u"Il file non è stato creato."_s));
    // The first file fits, the second does not.
    EXPECT_EQ(folderError(folder, {{u"A.cds"_s, "nuovo A"}, {u"B.cds"_s, big}}),
              u"Impossibile scrivere il file «%1/B.cds»: spazio esaurito sul disco (No space left on device). "
              "La cartella «%1» è rimasta com'era."_s.arg(folder));
    EXPECT_EQ(folderContents(folder), oldFolder);
    EXPECT_TRUE(folderError(disk.file(u"nuova"_s), {{u"B.cds"_s, big}})
                    .endsWith(u"La cartella «%1» non è stata creata."_s.arg(disk.file(u"nuova"_s))));
    EXPECT_EQ(entries(disk.path()), (QStringList{u"dati.cds"_s, u"esporta"_s, u"riempitivo"_s}));

    // With room again the new file replaces the old one and keeps its permissions.
    QFile::remove(disk.file(u"riempitivo"_s));
    AtomicFile::save(old, big);
    EXPECT_EQ(contents(old), big);
    EXPECT_EQ(QFile::permissions(old), permissions);
}

TEST(AtomicFolder, ReplacesOnlyAFolderOfItsOwnFilesAndClearsWhatAKillLeft)
{
    TempDir dir;
    // A file that cannot be replaced or is not committed leaves nothing behind.
    QDir().mkpath(dir.file(u"77024"_s));
    EXPECT_TRUE(errorOf(dir.file(u"77024"_s), "A").contains(u": al suo posto c'è una cartella (Is a directory)"_s));
    EXPECT_TRUE(
        errorOf(dir.file(u"manca/77024"_s), "A").contains(u": la cartella non esiste (No such file or directory)"_s));
    {
        AtomicFile abandoned(dir.file(u"parte"_s));
        abandoned.write("mezzo");
        abandoned.finish();
    }
    const QString folder = dir.file(u"esporta"_s);
    // Left by a kill: a temporary folder of this target, a temporary file
    // inside the old folder; a temporary folder of another target stays.
    dir.write(u".esporta.tmp-1x2y3z/A.cds"_s, "mezzo");
    dir.write(u".altra.tmp-1x2y3z/A.cds"_s, "altro");
    dir.write(u"esporta/A.cds"_s, "vecchio");
    dir.write(u"esporta/.A.cds.tmp-k9"_s, "mezzo");
    ASSERT_EQ(folderError(folder, {{u"A.cds"_s, "nuovo"}, {u"B.cds"_s, "B"}}), QString());
    EXPECT_EQ(folderContents(folder), "A.cds\nnuovo\nB.cds\nB\n");
    EXPECT_EQ(entries(dir.path()), (QStringList{u".altra.tmp-1x2y3z"_s, u"77024"_s, u"esporta"_s}));

    // A link to the folder stays a link.
    ASSERT_TRUE(QFile::link(folder, dir.file(u"collegamento"_s)));
    ASSERT_EQ(folderError(dir.file(u"collegamento"_s), {{u"A.cds"_s, "dal collegamento"}, {u"B.cds"_s, "B"}}),
              QString());
    EXPECT_TRUE(QFileInfo(dir.file(u"collegamento"_s)).isSymLink());
    EXPECT_EQ(folderContents(folder), "A.cds\ndal collegamento\nB.cds\nB\n");

    // Anything else in the old folder is never lost: the folder is refused.
    dir.write(u"esporta/nota.txt"_s, "mia");
    const QByteArray before = folderContents(folder);
    EXPECT_EQ(folderError(folder, {{u"A.cds"_s, "altro"}, {u"B.cds"_s, "altro"}}),
              u"La cartella «%1» contiene «nota.txt», che non è tra i file che vi si scrivono e andrebbe perso "
              "sostituendola: scegliere una cartella vuota o spostare altrove «nota.txt». La cartella è rimasta "
              "com'era."_s.arg(folder));
    QDir().mkpath(dir.file(u"esporta/sotto"_s));
    EXPECT_EQ(folderError(folder, {{u"A.cds"_s, "altro"}, {u"B.cds"_s, "altro"}}),
              u"La cartella «%1» contiene 2 elementi che non sono tra i file che vi si scrivono e andrebbero persi "
              "sostituendola, tra cui «nota.txt»: scegliere una cartella vuota o spostarli altrove. La cartella è "
              "rimasta com'era."_s.arg(folder));
    EXPECT_EQ(folderContents(folder), before + "sotto\n(illeggibile)\n");
    EXPECT_EQ(entries(dir.path()), (QStringList{u".altra.tmp-1x2y3z"_s, u"77024"_s, u"collegamento"_s, u"esporta"_s}));
}
