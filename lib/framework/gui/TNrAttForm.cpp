#include "TNrAttForm.h"

#include "Exceptions.h"
#include "NrFormRegistry.h"
#include "NrMessages.h"
#include "TdmNrAttivazioni.h"
#include "TfmNrMDIMain.h"

#include <QDialog>
#include <QVBoxLayout>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

// A modal window that is not a dialog of its own runs inside a plain one.
int execModal(QWidget *form, QWidget *parent)
{
    if (auto *dialog = qobject_cast<QDialog *>(form))
        return dialog->exec();
    QDialog holder(parent);
    holder.setWindowTitle(form->windowTitle());
    auto *layout = new QVBoxLayout(&holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(form);
    return holder.exec();
}

} // namespace

bool TNrAttForm::run()
{
    const NrFormRegistry::Factory *factory = NrFormRegistry::find(ClasseForm);
    if (!factory) {
        NrMessageDlg(
            u"La finestra «%1» non è ancora disponibile in questa versione del programma."_s.arg(Caption.trimmed()),
            MsgDlgType::Information);
        return false;
    }
    TfmNrMDIMain *main = owner().mainWindow();
    if (!main && !ModalForm)
        throw Exception(u"La finestra «%1» non ha una finestra principale in cui aprirsi."_s.arg(Caption.trimmed()));
    if (!ModalForm && !MultipleInstance && main) {
        if (QWidget *open = main->findChildForm(ClasseForm)) {
            main->activateChild(open);
            return true;
        }
    }
    std::unique_ptr<QWidget> form((*factory)(main));
    form->setProperty("ClasseForm", ClasseForm);
    if (OnInizializedForm)
        OnInizializedForm(*this, form.get());
    if (ModalForm) {
        execModal(form.get(), main);
        return true;
    }
    main->showChild(form.release());
    return true;
}
