#include "TfrElHMulti.h"

#include "TNrDBGrid.h"

#include <QAction>
#include <QTabWidget>
#include <QToolBar>

TfrElHMulti::TfrElHMulti(QWidget *parent)
    : TfrElfBase(parent)
{
    for (QAction *action : {acInsert, acDelete, acEdit, acPost, acCancel})
        removeFrameAction(action);
    // What is left after the navigation are the separators of the editing actions.
    const QList<QAction *> shown = toolBar()->actions();
    for (qsizetype i = shown.indexOf(acLast) + 1; i < shown.size(); ++i)
        toolBar()->removeAction(shown.at(i));
    pcMain->setTabVisible(pcMain->indexOf(tsDetail), false);
    grFrame->setMultiSelect(true);
}

QList<Bookmark> TfrElHMulti::selectedBookmarks() const
{
    return grFrame->selectedBookmarks();
}
