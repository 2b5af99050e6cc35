#pragma once

#include "TfrElfBase.h"

// The read-only variant of the frame used by the selection dialogs: the grid
// only, with multiple selection, and the four navigation actions.
class TfrElHMulti : public TfrElfBase
{
    Q_OBJECT

public:
    explicit TfrElHMulti(QWidget *parent = nullptr);

    // The chosen records, in the order of the grid.
    QList<Bookmark> selectedBookmarks() const;
};
