#pragma once

#include "TfmElfMultiSelect.h"
#include "print/ElhMPdfCertificato.h"
#include "print/ElhMStampe.h"

#include <memory>

class QButtonGroup;
class QGroupBox;
class THlmDBCds;
class TfrElhPdfOutput;

// A print window of certificates: the persons of the list, "Tutti" or the
// rows chosen in the grid ("Selezionati", which the choice of rows sets),
// and the common part of the print windows. The OK and Cancel buttons of
// the selection window are not shown.
class TfmElhPdfCertificati : public TfmElfMultiSelect
{
    Q_OBJECT

public:
    QGroupBox *gbSelezione;
    QButtonGroup *rgSelezione; // 0 "Tutti", 1 "Selezionati"
    TfrElhPdfOutput *frOutput;

    TdmElhPdfCertificato &module() const { return *m_parts->print; }

protected:
    // The print module and the agent's record it draws from.
    struct Parts
    {
        explicit Parts(THlmDBCds &store)
            : stampe(store)
        {
        }
        TdmElhStampe stampe;
        std::unique_ptr<TdmElhPdfCertificato> print;
    };
    template<class Print>
    static std::unique_ptr<Parts> parts(THlmDBCds &store)
    {
        auto made = std::make_unique<Parts>(store);
        made->print = std::make_unique<Print>(store, made->stampe);
        return made;
    }

    TfmElhPdfCertificati(std::unique_ptr<Parts> parts, const QString &caption, const QString &defaultName,
                         QWidget *parent);

    void showEvent(QShowEvent *event) override;

private:
    bool print(const QString &fullName);
    void followSelection();

    std::unique_ptr<Parts> m_parts;
};
