#include "TfrElhConFamCar.h"

#include "Conversions.h"
#include "FieldGrid.h"
#include "NrMessages.h"
#include "TNrDBEdit.h"
#include "TNrDBGrid.h"

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kMonthFields[] = {u"SCFC7MESICARCON"_s, u"SCFC7MESICARPRIFIGL"_s, u"SCFC7MESICARFIGL"_s};

} // namespace

TfrElhConFamCar::TfrElhConFamCar(const CurrentPerson &person, QWidget *parent)
    : TfrElhSezione({u"TCFC7_CONFAMCARICO"_s, u"congiuge e familiari a carico"_s, true}, PersonTables::Kind::Employee,
                    person, parent)
{
    setObjectName(u"TfrElhConFamCar"_s);
    static constexpr Item kLeft[] = {{nullptr, u"CONIUGE"},
                                     {u"LCFC7RELPARCON", u"C - Coniuge"},
                                     {u"SCFC7CODFISCON", u"Codice fiscale del coniuge"},
                                     {u"SCFC7MESICARCON", u"Mesi a carico del coniuge"},
                                     {u"SCFC7DTANNOCONIUGE", u"Anno"},
                                     {nullptr, u"PRIMO FIGLIO"},
                                     {u"LCFC7RELPARPRIFIGL", u"F1 - Primo figlio"},
                                     {u"LCFC7RELPARPRIFIGLDIS", u"D - Figlio con disabilità"},
                                     {u"SCFC7CODFISPRIFIGL", u"Codice fiscale del primo figlio"},
                                     {u"SCFC7MESICARPRIFIGL", u"Mesi a carico del primo figlio"},
                                     {u"SCFC7MINTREANNPRIFIGL", u"Minore di tre anni (mesi)"},
                                     {u"SCFC7DETRSPETTPRIFIGL", u"Percentuale di detrazione spettante"},
                                     {u"LCFC7DET100AFFPRIFIGL", u"Detrazione 100% per affidamento"},
                                     {u"SCFC7DTANNOPRIFIGL", u"Anno"}};
    static constexpr Item kRight[] = {{nullptr, u"ALTRI FIGLI O ALTRI FAMILIARI"},
                                      {u"LCFC7RELPARFIGL", u"F - Figlio"},
                                      {u"LCFC7RELPARFIGLDIS", u"D - Figlio con disabilità"},
                                      {u"LCFC7RELPARFIGLALTRFAM", u"A - Altro familiare"},
                                      {u"SCFC7CODFISFIGL", u"Codice fiscale del familiare"},
                                      {u"SCFC7MESICARFIGL", u"Mesi a carico del familiare"},
                                      {u"SCFC7MINTREANNFIGL", u"Minore di tre anni (mesi)"},
                                      {u"FCFC7DETRSPETTFIGL", u"Percentuale di detrazione spettante"},
                                      {u"LCFC7DET100AFFFIGL", u"Detrazione 100% per affidamento"},
                                      {u"SCFC7DTANNOFIGL", u"Anno"}};
    addCaptions({kLeft, kRight});
    setDetail([this] {
        auto *left = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
        addItems(left, kLeft);
        auto *right = new FieldGrid(nullptr, FieldGrid::kColumnCaptionWidth);
        addItems(right, kRight);
        return Columns{left, right};
    });
    setGridColumns({u"SCFC7CODFISCON"_s, u"SCFC7MESICARCON"_s, u"SCFC7CODFISPRIFIGL"_s, u"SCFC7MESICARPRIFIGL"_s,
                    u"SCFC7CODFISFIGL"_s, u"SCFC7MESICARFIGL"_s});
}

void TfrElhConFamCar::detailBuilt()
{
    TfrElhSezione::detailBuilt();
    for (TNrDBEdit *edit : tsDetail->findChildren<TNrDBEdit *>()) {
        const QString field = edit->dataField();
        if (std::find(std::begin(kMonthFields), std::end(kMonthFields), field) != std::end(kMonthFields))
            connect(edit, &QLineEdit::editingFinished, this, [this, field] { checkMonths(field); });
    }
}

void TfrElhConFamCar::checkMonths(const QString &field)
{
    const Field *months = cdsMain.active() ? cdsMain.findField(field) : nullptr;
    const QString text = months ? months->asString().trimmed() : QString();
    if (text.isEmpty())
        return;
    const std::optional<qint64> n = Conv::parseInteger(text);
    if (!n || *n < 1 || *n > 12)
        NrMessageDlg(u"Mese non valido, deve essere compreso tra 01 e 12"_s, MsgDlgType::Warning);
    else if (text.size() != 2)
        NrMessageDlg(u"Il mese deve essere di 2 cifre"_s, MsgDlgType::Warning);
}

void TfrElhConFamCar::cdsMainBeforePost()
{
    TfrElfBase::cdsMainBeforePost();
    auto flag = [this](const char16_t *name) -> Field & { return cdsMain.fieldByName(QString::fromUtf16(name)); };
    auto set = [](const Field &f) { return f.asString().trimmed() == u"1"; };
    QString noted;
    if (set(flag(u"LCFC7RELPARPRIFIGLDIS")) && set(flag(u"LCFC7RELPARPRIFIGL"))) {
        flag(u"LCFC7RELPARPRIFIGL").setAsString(u"0"_s);
        noted += u"- Dati incongruenti primo figlio: Verrà abilitato campo D e non F1\r\n"_s;
    }
    if (set(flag(u"LCFC7RELPARFIGLDIS")) && (set(flag(u"LCFC7RELPARFIGLALTRFAM")) || set(flag(u"LCFC7RELPARFIGL")))) {
        flag(u"LCFC7RELPARFIGLALTRFAM").setAsString(u"0"_s);
        flag(u"LCFC7RELPARFIGL").setAsString(u"0"_s);
        noted += u"- Dati incongruenti altri familiari: Verrà abilitato campo D e non F e A\r\n"_s;
    } else if (set(flag(u"LCFC7RELPARFIGLALTRFAM")) && set(flag(u"LCFC7RELPARFIGL"))) {
        flag(u"LCFC7RELPARFIGL").setAsString(u"0"_s);
        noted += u"- Dati incongruenti altri familiari: Verrà abilitato campo A e non F"_s;
    }
    if (!noted.isEmpty())
        NrMessageDlg(noted, MsgDlgType::Warning);
    TfrElhSezione::cdsMainBeforePost();
}
