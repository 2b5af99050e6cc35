#include "TfmNrChildDB.h"

TfmNrChildDB::TfmNrChildDB(QWidget *parent)
    : TfmNrVuota(parent)
{
}
