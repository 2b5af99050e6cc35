#include "TfmElhPdfProspetto.h"

#include "ElhMProspSTPDF.h"
#include "ElhMStampe.h"
#include "NrCursors.h"
#include "NrMessages.h"
#include "TfrElhPdfOutput.h"

#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Window
{
    TfmElhPdfProspetto::Prospetto prospetto;
    const char16_t *className;
    const char16_t *caption;
    const char16_t *defaultName;
    TdmElhProspSTPDF::Outcome (TdmElhProspSTPDF::*print)(const QString &);
    bool closesAgent;
};

using P = TfmElhPdfProspetto::Prospetto;
const Window kWindows[] = {
    {P::ST, u"TfmElhPdfST", u"Stampa Prospetto ST", u"ST", &TdmElhProspSTPDF::stampaST, true},
    {P::SV, u"TfmElhPdfSV", u"Stampa Prospetto SV", u"SV", &TdmElhProspSTPDF::stampaSV, true},
    {P::SX, u"TfmElhPdfSX", u"Stampa Prospetto SX", u"SX", &TdmElhProspSTPDF::stampaSX, false},
    {P::SY, u"TfmElhPdfSY", u"Stampa Prospetto SY", u"SY", &TdmElhProspSTPDF::stampaSY, true},
    {P::SS, u"TfmElhPdfSS", u"Stampa Prospetto SS", u"SS", &TdmElhProspSTPDF::stampaSS, false},
    {P::DI, u"TfmElhPdfDI", u"Stampa Prospetto DI", u"DI", &TdmElhProspSTPDF::stampaDI, true},
};

const Window &windowOf(P prospetto)
{
    return *std::find_if(std::begin(kWindows), std::end(kWindows),
                         [prospetto](const Window &w) { return w.prospetto == prospetto; });
}

} // namespace

const QList<TfmElhPdfProspetto::Prospetto> &TfmElhPdfProspetto::all()
{
    static const QList<Prospetto> prospetti = [] {
        QList<Prospetto> all;
        for (const Window &w : kWindows)
            all.append(w.prospetto);
        return all;
    }();
    return prospetti;
}

QString TfmElhPdfProspetto::className(Prospetto prospetto)
{
    return QString::fromUtf16(windowOf(prospetto).className);
}

TfmElhPdfProspetto::TfmElhPdfProspetto(Prospetto prospetto, THlmDBCds &store, TdmElhStampe &stampe, QWidget *parent)
    : TfmNrDialog(parent)
    , m_prospetto(prospetto)
    , m_store(store)
    , m_stampe(stampe)
{
    const Window &w = windowOf(prospetto);
    setObjectName(className(prospetto));
    setWindowTitle(QString::fromUtf16(w.caption));
    frOutput = new TfrElhPdfOutput(QString::fromUtf16(w.defaultName),
                                   [this](const QString &fullName) { return print(fullName); });
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frOutput);
    resize(520, 220);
}

bool TfmElhPdfProspetto::print(const QString &fullName)
{
    const TNrCursorScope hourglass;
    FindingBoxes boxes;
    TdmElhProspSTPDF prints(m_store, boxes);
    switch ((prints.*windowOf(m_prospetto).print)(fullName)) {
    case TdmElhProspSTPDF::Outcome::Saved:
        return true;
    case TdmElhProspSTPDF::Outcome::NothingToPrint:
        return TfrElhPdfOutput::nothingToPrint();
    case TdmElhProspSTPDF::Outcome::Failed:
        break;
    }
    return false;
}

void TfmElhPdfProspetto::done(int result)
{
    if (windowOf(m_prospetto).closesAgent)
        m_stampe.cdsSost.close();
    TfmNrDialog::done(result);
}
