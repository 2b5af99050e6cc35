#include "PreviousYearImport.h"

#include "ClientDataSet.h"
#include "DataPaths.h"
#include "Exceptions.h"
#include "THlmDBCds.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

const QString PreviousYearImport::kFolderMissing = u"Il percorso selezionato non esiste\n\rScegliere un percorso valido"_s;
const QString PreviousYearImport::kFilesMissing = u"Non esistono i file nel percorso selezionato"_s;

namespace {

// "dei dipendenti", "degli autonomi": whose registry it is.
QString ofPeople(PersonTables::Kind kind)
{
    return kind == PersonTables::Kind::Employee ? u"dei dipendenti"_s : u"degli autonomi"_s;
}

} // namespace

PreviousYearImport::PreviousYearImport(THlmDBCds &store, PersonTables::Kind kind)
    : m_store(store)
    , m_kind(kind)
{
}

PreviousYearImport::Outcome PreviousYearImport::fromStore()
{
    const QString &table = PersonTables::registry(m_kind).table;
    ClientDataSet lastYear(table);
    m_store.openFor(lastYear, table, m_store.month(), m_store.year() - 1);
    return copy(lastYear);
}

PreviousYearImport::Outcome PreviousYearImport::fromFolder(const QString &folder)
{
    if (folder.trimmed().isEmpty() || !QDir(folder).exists())
        throw Exception(kFolderMissing);
    const PersonTables::Registry &r = PersonTables::registry(m_kind);
    // The export names its files after the tables; their case may differ.
    const QString path = DataPaths::resolve(QDir(folder).absolutePath() + u'/', r.table + u".cds"_s);
    if (!QFileInfo(path).isFile())
        throw Exception(kFilesMissing);
    ClientDataSet lastYear(r.table);
    lastYear.loadFromFile(path);
    if (!lastYear.findField(r.codeField))
        throw Exception(u"Il file «%1» non è l'anagrafica %2: manca il campo %3."_s.arg(
            QDir::toNativeSeparators(path), ofPeople(m_kind), r.codeField));
    return copy(lastYear);
}

PreviousYearImport::Outcome PreviousYearImport::copy(ClientDataSet &lastYear)
{
    const PersonTables::Registry &r = PersonTables::registry(m_kind);
    ClientDataSet current(r.table);
    m_store.open(current, r.table);
    Outcome outcome;
    for (lastYear.first(); !lastYear.eof(); lastYear.next()) {
        ++outcome.read;
        if (lastYear.fieldByName(r.codeField).asString().trimmed().isEmpty())
            ++outcome.withoutCode;
        else if (PersonTables::copyRegistryRecord(lastYear, current, m_kind))
            ++outcome.added;
        else
            ++outcome.present;
    }
    if (outcome.added > 0)
        m_store.save(current, r.table);
    return outcome;
}

QString PreviousYearImport::report(PersonTables::Kind kind, const Outcome &outcome)
{
    const QString whose = ofPeople(kind);
    if (outcome.read == 0)
        return u"L'anagrafica %1 dell'anno precedente è vuota: nessuno da importare."_s.arg(whose);
    QString text = u"Anagrafica %1 dell'anno precedente: %2 letti.\n"_s.arg(whose).arg(outcome.read)
                   + u"Aggiunti alla dichiarazione: %1.\nGià presenti: %2."_s.arg(outcome.added).arg(outcome.present);
    if (outcome.withoutCode > 0)
        text += u"\nTralasciati perché senza codice fiscale: %1."_s.arg(outcome.withoutCode);
    return text;
}
