#include "TNrProgressDialog.h"

#include <QCoreApplication>

using namespace Qt::Literals::StringLiterals;

namespace {

// A run shorter than this shows no window.
constexpr int kShowAfterMs = 400;

} // namespace

TNrProgressDialog::TNrProgressDialog(const QString &noun, QWidget *parent)
    : QProgressDialog(parent)
    , m_noun(noun)
{
    setObjectName(u"progressDialog"_s);
    if (parent)
        setWindowTitle(parent->window()->windowTitle());
    setCancelButtonText(u"Annulla"_s);
    setWindowModality(Qt::ApplicationModal);
    setMinimumDuration(kShowAfterMs);
    setAutoClose(false);
    setAutoReset(false);
    // Long names must not make the window jump at every step.
    setMinimumWidth(460);
}

void TNrProgressDialog::step(int current, int total, const QString &text)
{
    setMaximum(total);
    setLabelText(u"%1 %2 di %3 — %4"_s.arg(m_noun, progressCount(current), progressCount(total), text));
    // The bar shows the steps done; the label the one under way.
    setValue(current - 1);
    QCoreApplication::processEvents();
}

void TNrProgressDialog::status(const QString &text)
{
    setLabelText(text);
    QCoreApplication::processEvents();
}

bool TNrProgressDialog::cancelled()
{
    QCoreApplication::processEvents();
    return wasCanceled();
}
