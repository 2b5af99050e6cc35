#pragma once

#include <QApplication>
#include <QTranslator>

#include <functional>

// The desktop program's application object. The toolkit's own texts (the
// menus of the edits, the buttons of its dialogs) are in Italian. An
// exception that escapes an event handler ends here instead of in the
// toolkit: a silent abort says nothing, any other error shows its text in an
// error box, and the program goes on, as the framework's event loop does.
class TNrApplication : public QApplication
{
public:
    TNrApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

private:
    QTranslator m_translator;
};

// Runs the work of an event handler (a slot, a callback, an action) the same
// way; returns false when it raised.
bool NrRunGuarded(const std::function<void()> &work);
