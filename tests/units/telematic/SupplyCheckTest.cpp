#include "TelematicFixture.h"

#include "TempDir.h"
#include "ElhUSupplyCheck.h"

#include <functional>

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

// The 1-based position of an element in a line.
int at(const Lines &lines, int line, const QByteArray &element)
{
    return static_cast<int>(lines[line - 1].indexOf(element)) + 1;
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

struct Broken
{
    const char *rule;
    std::function<void(Lines &)> breakIt;
    QString finding;
};

} // namespace

TEST(SupplyCheck, EachBrokenRuleIsReportedOnceWithItsPlace)
{
    TempDir dir;
    ASSERT_EQ(findings({write(dir, u"sana"_s, demoLines())}), QStringList());
    // The demo supply: A, B, D modules 1 (lines 3-5), 2 (6-7), 3 (8-9) and 4
    // (10), I module 1 (11), J modules 1 and 2 (12-13), Z (14).
    const Broken cases[] = {
        {"record length", [](Lines &l) { l[9].chop(1); },
         u"riga 10, record D: il record è lungo 1897 caratteri invece di 1898"_s},
        {"terminator", [](Lines &l) { l[9][1897] = 'B'; },
         u"riga 10, record D: l'ultimo carattere (posizione 1898) deve essere «A» invece di «B»"_s},
        {"control character", [](Lines &l) { patch(l, 10, at(l, 10, "SV002011") + 13, "\t"); },
         u"riga 10, record D: carattere di controllo alla posizione 199"_s},
        {"record order", [](Lines &l) { l.swapItemsAt(9, 10); },
         u"riga 11, record D, modulo 00000004: i record D vanno prima dei record I"_s},
        {"A fields", [](Lines &l) { patch(l, 1, 16, "77023"); },
         u"riga 1, record A: codice fornitura «77023» invece di «77024» (posizioni 16-20)"_s},
        {"split fields", [](Lines &l) { patch(l, 1, 522, "00010002"); },
         u"riga 1, record A: invio «0001» di «0002» (posizioni 522-529) invece di «0000» di «0000»: i file indicati "
         u"sono 1"_s},
        {"B boxes", [](Lines &l) { patch(l, 2, 1142, "0"); },
         u"riga 2, record B: la casella alla posizione 1142 vale «0», ma la fornitura contiene il prospetto SV"_s},
        {"Z counts", [](Lines &l) { patch(l, 14, 43, "000000002"); },
         u"riga 14, record Z: numero di record I «000000002» (posizioni 43-51) invece di 1"_s},
        {"declarant", [](Lines &l) { patch(l, 12, 2, "80012345677"); },
         u"riga 12, record J, modulo 00000001: codice fiscale del dichiarante «80012345677     » (posizioni 2-17) "
         u"diverso da quello del record B «80012345676     »"_s},
        {"module numbers", [](Lines &l) { patch(l, 10, 18, "00000005"); },
         u"riga 10, record D, modulo 00000005: il progressivo modulo segue «00000003»: i moduli vanno numerati da 1 "
         u"senza salti"_s},
        {"blank filler", [](Lines &l) { patch(l, 10, 30, "X"); },
         u"riga 10, record D, modulo 00000004: le posizioni 29-53 devono essere vuote"_s},
        {"element code", [](Lines &l) { patch(l, 10, at(l, 10, "SV002001"), "SV0020A1"); },
         u"riga 10, record D, modulo 00000004, posizione 114, elemento «SV0020A1          082023»: «SV0020A1» non è "
         u"un codice di campo (due lettere, rigo e colonna di tre cifre)"_s},
        {"Prospetto of the record", [](Lines &l) { patch(l, 11, 90, "SS"); },
         u"riga 11, record I, modulo 00000001, posizione 90, elemento «SS00200105174320985»: il prospetto SS non va "
         u"nei record I"_s},
        {"code order", [](Lines &l) { l[9].replace(113, 48, QByteArray(l[9].mid(137, 24) + l[9].mid(113, 24))); },
         u"riga 10, record D, modulo 00000004, posizione 138, elemento «SV002001          082023»: il codice "
         u"SV002001 segue SV002002: i codici di un modulo vanno in ordine crescente"_s},
        {"continuation without its field", [](Lines &l) { patch(l, 11, at(l, 11, "SY016007") + 8, "+"); },
         u"riga 11, record I, modulo 00000001, posizione 450, elemento «SY016007+EOPOLDSTRASSE 2»: il seguito «+» non "
         u"segue il campo SY016007 che continua"_s},
        {"repeated code", [](Lines &l) { patch(l, 11, at(l, 11, "SY016006+A") + 8, "A "); },
         u"riga 11, record I, modulo 00000001, posizione 426, elemento «SY016006A»: il codice SY016006 è ripetuto "
         u"senza il segno di seguito «+»"_s},
        {"continuation in the next record", [](Lines &l) { patch(l, 4, 90, "ST015002+ABC            "); },
         u"riga 4, record D, modulo 00000001, posizione 90, elemento «ST015002+ABC»: il seguito del campo ST015002 "
         u"è in un record diverso dal suo inizio"_s},
        {"amount", [](Lines &l) { patch(l, 5, at(l, 5, "SX001001"), "SX001001           310,0"); },
         u"riga 5, record D, modulo 00000001, posizione 1266, elemento «SX001001           310,0»: l'importo «      "
         u"     310,0» va scritto con cifre, la virgola e due decimali, allineato a destra"_s},
        {"period month", [](Lines &l) { patch(l, 10, at(l, 10, "SV002001") + 18, "13"); },
         u"riga 10, record D, modulo 00000004, posizione 114, elemento «SV002001          132023»: il periodo "
         u"«          132023» va scritto come mese da 01 a 12 e anno di quattro cifre (MMAAAA), allineato a destra"_s},
        {"period year", [](Lines &l) { patch(l, 6, at(l, 6, "ST002001") + 8, "           AB23 "); },
         u"riga 6, record D, modulo 00000002, posizione 90, elemento «ST002001           AB23»: il periodo "
         u"«           AB23 » va scritto come mese da 01 a 12 e anno di quattro cifre (MMAAAA), allineato a destra"_s},
        {"negative amount", [](Lines &l) { patch(l, 5, at(l, 5, "SX001001") + 17, "-"); },
         u"riga 5, record D, modulo 00000001, posizione 1266, elemento «SX001001         -310,00»: l'importo "
         u"«-310,00» è negativo, ma gli importi della dichiarazione sono positivi"_s},
        {"fiscal code", [](Lines &l) { patch(l, 3, 113, "H"); },
         u"riga 3, record D, modulo 00000001, posizione 90, elemento «DI001001FRRNDR79L10A475H»: Codice fiscale "
         u"«FRRNDR79L10A475H» non valido: il carattere di controllo non corrisponde"_s},
        {"element after a blank", [](Lines &l) { patch(l, 12, 90 + 3 * 24, "SS003001            1,00"); },
         u"riga 12, record J, modulo 00000001: elemento alla posizione 162 dopo uno spazio vuoto"_s},
    };
    for (const Broken &c : cases) {
        SCOPED_TRACE(c.rule);
        Lines lines = demoLines();
        c.breakIt(lines);
        EXPECT_EQ(findings({write(dir, u"770"_s, lines)}), QStringList{u"«770», "_s + c.finding});
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
