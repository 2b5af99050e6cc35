#include "TfmElhIntSos.h"

#include <QDir>
#include <QLabel>
#include <QVariant>

using namespace Qt::Literals::StringLiterals;

TfmElhIntSos::TfmElhIntSos(THlmDBCds &store, TdmNruParams &params, TdmElhImport::Integration which, QWidget *parent)
    : PeopleImportDialog(
        store, params, which == TdmElhImport::Integration::Employees ? u"TDIP7_ANAGRFISCALI"_s : u"TDAU7_DATIAUTONOM"_s,
        which == TdmElhImport::Integration::Employees ? u"Dipendente"_s : u"Autonomo"_s, parent)
    , laStato(m_heading)
    , m_which(which)
{
    setWindowTitle(u"Integra da sostituto estinto "_s);
    laStato->setObjectName(u"laStato"_s);
}

QString TfmElhIntSos::folder() const
{
    return property("cartellaIntegrazione").toString();
}

void TfmElhIntSos::fillPeople(ClientDataSet &people)
{
    m_import.extinctPeople(folder(), m_which, people);
}

void TfmElhIntSos::run(const QStringList &codes, NrProgress *progress)
{
    m_import.integra(folder(), m_which, codes, progress);
}

void TfmElhIntSos::loaded()
{
    laStato->setText(
        u"Dati del sostituto estinto nella cartella «%1»"_s.arg(QDir::toNativeSeparators(QDir::cleanPath(folder()))));
}

TfmElhIntSosDip::TfmElhIntSosDip(THlmDBCds &store, TdmNruParams &params, QWidget *parent)
    : TfmElhIntSos(store, params, TdmElhImport::Integration::Employees, parent)
{
    setWindowTitle(u"Integra dipendenti da sostituto estinto "_s);
}

TfmElhIntSosAut::TfmElhIntSosAut(THlmDBCds &store, TdmNruParams &params, QWidget *parent)
    : TfmElhIntSos(store, params, TdmElhImport::Integration::SelfEmployed, parent)
{
    setWindowTitle(u"Integra autonomi da sostituto estinto "_s);
}
