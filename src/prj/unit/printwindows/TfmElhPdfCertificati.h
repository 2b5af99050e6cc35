#pragma once

#include "ElhMPdfCertificato.h"
#include "TfmElfMultiSelect.h"

#include <memory>

class QButtonGroup;
class QGroupBox;
class TfrElhPdfOutput;

// A print window of certificates: the persons of the list, "Tutti" or the
// rows chosen in the grid ("Selezionati", which the choice of rows sets),
// and the common part of the print windows. The OK and Cancel buttons of
// the selection window are not shown. The print runs in a progress window
// that counts the persons under `noun`; stopped, it makes no file.
class TfmElhPdfCertificati : public TfmElfMultiSelect
{
    Q_OBJECT

public:
    QGroupBox *gbSelezione;
    QButtonGroup *rgSelezione; // 0 "Tutti", 1 "Selezionati"
    TfrElhPdfOutput *frOutput;

    TdmElhPdfCertificato &module() const { return *m_print; }

protected:
    // The print module draws the agent's record from the shared print module.
    TfmElhPdfCertificati(std::unique_ptr<TdmElhPdfCertificato> module, const QString &caption,
                         const QString &defaultName, const QString &noun, QWidget *parent);

private:
    bool print(const QString &fullName);
    void followSelection();

    std::unique_ptr<TdmElhPdfCertificato> m_print;
    QString m_noun;
};
