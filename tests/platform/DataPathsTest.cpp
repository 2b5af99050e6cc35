#include "DataPaths.h"
#include "TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

TEST(DataPaths, ResolvesBackslashPathsWithoutRegardToCase)
{
    TempDir root;
    root.write(u"USR/FL2023/Res/FileTel/Record_A.xml"_s, "<RecordA/>");
    QDir().mkpath(root.file(u"bin"_s));
    const QString base = root.path() + u'/';
    EXPECT_EQ(DataPaths::resolve(base, u"usr\\fl2023\\res\\filetel\\record_a.XML"_s),
              base + u"USR/FL2023/Res/FileTel/Record_A.xml"_s);
    // A folder path keeps its final separator.
    EXPECT_EQ(DataPaths::resolve(base, u"usr\\FL2023\\RES\\"_s), base + u"USR/FL2023/Res/"_s);
    // What does not exist yet is kept as written, below what does.
    EXPECT_EQ(DataPaths::resolve(base, u"usr\\FLDati\\FL2023\\"_s), base + u"USR/FLDati/FL2023/"_s);
    EXPECT_EQ(DataPaths::resolve(root.file(u"bin/"_s), u"..\\usr\\fl2023\\"_s), base + u"USR/FL2023/"_s);

    DataPaths::setDataRoot(root.path());
    EXPECT_EQ(DataPaths::fromRoot(u"usr\\fl2023\\res\\"_s), base + u"USR/FL2023/Res/"_s);
    DataPaths::setDataRoot(QString());
    EXPECT_TRUE(DataPaths::dataRoot().endsWith(u'/'));
    EXPECT_NE(DataPaths::dataRoot(), base);
}
