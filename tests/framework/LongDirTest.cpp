#include "LongDir.h"
#include "TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

TEST(LongDir, GivesTheAbsoluteFolderEndingInASeparator)
{
    TempDir dir;
    QDir().mkpath(dir.file(u"USR/FL2023"_s));
    const QString canonical = QDir(dir.path()).canonicalPath();
    EXPECT_EQ(LongDir(dir.file(u"USR/FL2023/../FL2023"_s)), canonical + u"/USR/FL2023/"_s);
    EXPECT_EQ(LongDir(dir.path() + u"\\USR\\"_s), canonical + u"/USR/"_s);
    EXPECT_EQ(LongDir(dir.file(u"nuova/cartella"_s)), QDir::cleanPath(dir.path()) + u"/nuova/cartella/"_s);
}
