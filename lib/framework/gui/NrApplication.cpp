#include "NrApplication.h"

#include "Exceptions.h"
#include "NrMessages.h"

#include <QLibraryInfo>
#include <QLocale>

using namespace Qt::Literals::StringLiterals;

namespace {

void showError(const QString &text)
{
    NrMessageDlg(text, MsgDlgType::Error);
}

} // namespace

bool NrRunGuarded(const std::function<void()> &work)
{
    try {
        work();
        return true;
    } catch (const EAbort &) {
    } catch (const Exception &e) {
        showError(e.message());
    } catch (const std::exception &e) {
        showError(u"Errore imprevisto: %1"_s.arg(QString::fromUtf8(e.what())));
    }
    return false;
}

TNrApplication::TNrApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    QLocale::setDefault(italian);
    if (m_translator.load(italian, u"qtbase"_s, u"_"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(&m_translator);
}

bool TNrApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    NrRunGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
