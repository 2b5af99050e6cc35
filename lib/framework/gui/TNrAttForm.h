#pragma once

#include "TNrAttCommand.h"

class QWidget;

// A command that creates the window whose class is named in ClasseForm:
// modal when ModalForm, otherwise a child window of the main window. Unless
// MultipleInstance, an open window of the class is brought to the front
// instead of a second one. OnInizializedForm receives the new window before
// it is shown.
class TNrAttForm : public TNrAttCommand
{
public:
    using InizializedFormEvent = std::function<void(TNrAttForm &sender, QWidget *form)>;

    explicit TNrAttForm(TdmNrAttivazioni *owner)
        : TNrAttCommand(owner)
    {
    }

    QString ClasseForm;
    bool ModalForm = false;
    bool MultipleInstance = false;
    InizializedFormEvent OnInizializedForm;

protected:
    bool run() override;
};
