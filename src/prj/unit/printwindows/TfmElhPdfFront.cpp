#include "TfmElhPdfFront.h"

#include "NrApplication.h"
#include "NrCursors.h"
#include "TfrElhPdfOutput.h"
#include "ElhMStampe.h"

#include <QShowEvent>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

TfmElhPdfFront::TfmElhPdfFront(TdmElhStampe &stampe, QWidget *parent)
    : TfmNrDialog(parent)
    , m_stampe(stampe)
{
    setObjectName(u"TfmElhPdfFront"_s);
    setWindowTitle(u"Stampa Frontespizio"_s);
    frOutput = new TfrElhPdfOutput(u"Frontespizio"_s, [this](const QString &fullName) {
        const TNrCursorScope hourglass;
        m_stampe.stampaFrontespizio(fullName);
        return true;
    });
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frOutput);
    resize(520, 220);
}

void TfmElhPdfFront::showEvent(QShowEvent *event)
{
    TfmNrDialog::showEvent(event);
    if (event->spontaneous())
        return;
    const TNrCursorScope wait(TNrCursorScope::Kind::SqlWait);
    NrRunGuarded([this] { m_stampe.preparaFrontespizio(); });
}

void TfmElhPdfFront::done(int result)
{
    m_stampe.cdsSost.close();
    m_stampe.xml770.reset();
    TfmNrDialog::done(result);
}
