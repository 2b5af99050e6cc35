#include "TfmkbrMultiSelect.h"

#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

TfmkbrMultiSelect::TfmkbrMultiSelect(QWidget *parent)
    : TfmNrMultiSelect(parent)
    , xqcMultiSelect(u"xqcMultiSelect"_s)
    , frNrMultiSel(new TfrNrMultiSel(xqcMultiSelect, this))
{
    frNrMultiSel->setObjectName(u"frNrMultiSel"_s);
    body()->addWidget(frNrMultiSel, 1);
}

QList<Bookmark> TfmkbrMultiSelect::pickedOrAll() const
{
    QList<Bookmark> rows = frNrMultiSel->picked();
    if (rows.isEmpty()) {
        for (int r = 1; r <= xqcMultiSelect.viewCount(); ++r)
            rows.append(xqcMultiSelect.bookmarkAt(r));
    }
    return rows;
}
