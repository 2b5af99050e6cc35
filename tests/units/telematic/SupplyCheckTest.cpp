#include "TelematicFixture.h"

#include "ElhUSupplyCheck.h"
#include "TempDir.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using Lines = QList<QByteArray>;

Lines demoLines()
{
    Lines lines = readFile(QString::fromUtf8(ELH_GOLDEN_DIR) + u"/demo-770-2024.txt"_s).split('\n');
    lines.removeLast();
    for (QByteArray &l : lines)
        l.chop(1);
    return lines;
}

QString write(const TempDir &dir, const QString &name, const Lines &lines)
{
    return dir.write(name, lines.join("\r\n") + "\r\n");
}

QStringList findings(const QStringList &files)
{
    QStringList texts;
    for (const SupplyCheck::Finding &f : SupplyCheck::run(files))
        texts.append(SupplyCheck::describe(f));
    return texts;
}

// Replaces the characters at a 1-based position of a line.
void patch(Lines &lines, int line, int position, const QByteArray &text)
{
    lines[line - 1].replace(position - 1, text.size(), text);
}

// A split of the supply after `dataRecords` data records: each file with its
// own A (index and count), the same B and a Z with its own counts.
std::pair<Lines, Lines> split(const Lines &lines, int dataRecords)
{
    const auto withZ = [&](Lines file) {
        QByteArray z = lines.last();
        for (const auto &[type, position] : {std::pair{'D', 25}, std::pair{'I', 43}, std::pair{'J', 52}}) {
            const auto count =
                std::count_if(file.begin() + 2, file.end(), [&](const QByteArray &l) { return l[0] == type; });
            z.replace(position - 1, 9, QByteArray::number(count).rightJustified(9, '0'));
        }
        file.append(z);
        return file;
    };
    Lines first = lines.mid(0, 2 + dataRecords);
    Lines second = lines.mid(0, 2) + lines.mid(2 + dataRecords, lines.size() - 3 - dataRecords);
    first[0].replace(521, 8, "00010002");
    second[0].replace(521, 8, "00020002");
    return {withZ(first), withZ(second)};
}

} // namespace

TEST(SupplyCheck, EachBrokenRuleIsReportedOnceWithItsPlace)
{
    TempDir dir;
    ASSERT_EQ(findings({write(dir, u"sana"_s, demoLines())}), QStringList());
    for (const QStringList &c : caseRows(u"broken-supplies.txt"_s)) {
        SCOPED_TRACE(c[0].toStdString());
        Lines lines = demoLines();
        const int line = c[2].toInt();
        if (c[1] == u"chop") {
            lines[line - 1].chop(1);
        } else if (c[1] == u"swap") {
            lines.swapItemsAt(line - 1, c[3].toInt() - 1);
        } else {
            // A position, or an element's code in the line and an offset.
            const qsizetype plus = c[3].lastIndexOf(u'+');
            const int position = plus < 0 ? c[3].toInt()
                                          : static_cast<int>(lines[line - 1].indexOf(c[3].left(plus).toLatin1())) + 1
                                                + c[3].mid(plus + 1).toInt();
            patch(lines, line, position, c[4].toLatin1());
        }
        EXPECT_EQ(findings({write(dir, u"770"_s, lines)}), QStringList{u"«770», "_s + c[5]});
    }
}

TEST(SupplyCheck, AllFilesOfASplitSupplyAreCheckedTogether)
{
    TempDir dir;
    const auto [first, second] = split(demoLines(), 5);
    const QString a = write(dir, u"77024"_s, first);
    QString b = write(dir, u"77024_2"_s, second);
    EXPECT_EQ(findings({a, b}), QStringList());
    // The first file alone is not the whole supply.
    EXPECT_TRUE(findings({a}).contains(u"«77024», riga 1, record A: invio «0001» di «0002» (posizioni 522-529) "
                                       u"invece di «0000» di «0000»: i file indicati sono 1"_s));
    Lines changed = second;
    patch(changed, 2, 1197, "1");
    b = write(dir, u"77024_2"_s, changed);
    EXPECT_EQ(findings({a, b}), QStringList{u"«77024_2», riga 2, record B: il record B è diverso da quello del primo "
                                            u"file"_s});
}
