#include "TNrDBCheckBox.h"

#include "Field.h"

using namespace Qt::Literals::StringLiterals;

TNrDBCheckBox::TNrDBCheckBox(const QString &caption, QWidget *parent)
    : QCheckBox(caption, parent)
    , TNrDBControl(this)
{
    connect(this, &QCheckBox::clicked, this,
            [this](bool checked) { change([checked](Field &f) { f.setAsString(checked ? u"1"_s : u"0"_s); }); });
}

void TNrDBCheckBox::showValue(const Field *field)
{
    setChecked(field && field->asString().trimmed() == u"1");
}
