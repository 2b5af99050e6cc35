#pragma once

#include "NrMessages.h"

// The message boxes of the desktop program: a modal QMessageBox over the
// active window with the icon of the kind and Italian buttons ("Sì", "No",
// "OK", "Annulla"); the first button is the default one. A busy cursor is
// set aside while the box waits for an answer.
class TNrQtMessageService : public MessageService
{
public:
    ModalResult show(const MessageRequest &request) override;
};
