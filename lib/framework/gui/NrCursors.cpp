#include "NrCursors.h"

#include <QCursor>
#include <QGuiApplication>

TNrCursorScope::TNrCursorScope(Kind kind)
{
    QGuiApplication::setOverrideCursor(QCursor(kind == Kind::Hourglass ? Qt::WaitCursor : Qt::BusyCursor));
}

TNrCursorScope::~TNrCursorScope()
{
    QGuiApplication::restoreOverrideCursor();
}
