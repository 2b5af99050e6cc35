#include "TdmKbrParams.h"

#include "DataPaths.h"
#include "Exceptions.h"
#include "NrConnection.h"
#include "NrMessages.h"
#include "NrQuery.h"

#include <QFile>
#include <QProcess>
#include <QSqlRecord>

using namespace Qt::Literals::StringLiterals;

namespace {

TdmNrConnection &requireConnection(TdmNrConnection *connection)
{
    if (!connection || !connection->connected())
        throw EDatabaseError(u"Parametri contabili: nessuna connessione al database"_s);
    return *connection;
}

} // namespace

TdmKbrParams::TdmKbrParams(TdmNrConnection *connection, const QString &settingsFile)
    : TdmNruParams(connection, settingsFile)
{
}

void TdmKbrParams::loadFinancialYear(int anfId)
{
    TNrQuery q(requireConnection(connection()));
    q.fetch(u"QRY_PACO_ANF"_s, 0, u"SELECT"_s);
    q.setParam(u"IANFID"_s, anfId);
    q.open();
    m_paco.clear();
    m_accountingId = 0;
    if (q.next()) {
        const QSqlRecord row = q.record();
        for (int i = 0; i < row.count(); ++i)
            m_paco.insert(row.fieldName(i).toUpper(), q.value(i));
        m_accountingId = m_paco.value(u"IDWGANFID"_s).toInt();
    }
    q.close();
    m_loaded = true;
}

QVariant TdmKbrParams::parameterValue(const QString &name)
{
    if (!m_loaded)
        loadFinancialYear(anfId());
    const auto it = m_paco.constFind(name.toUpper());
    if (it == m_paco.constEnd()) {
        if (m_paco.isEmpty())
            throw EDatabaseError(u"Parametri contabili dell'anno finanziario non trovati (parametro %1)"_s.arg(name));
        throw EDatabaseError(u"Il parametro contabile %1 non esiste"_s.arg(name));
    }
    return it.value();
}

QString TdmKbrParams::chartOfAccountsProgram()
{
    return DataPaths::fromRoot(u"bin\\aggPdC2019.exe"_s);
}

bool TdmKbrParams::accountExists(int timId)
{
    TNrQuery q(requireConnection(connection()));
    q.fetch(u"QRY_NAF_CONTI_TEST"_s, 0, u"SELECT"_s);
    q.setParam(u"ITIMID"_s, timId);
    return q.scalar().isValid();
}

bool TdmKbrParams::checkValue(const QString &parameter, const Choice &choice)
{
    if (!choice.chosen)
        return false;
    if (parameter != QString::fromUtf16(kAnfId))
        return true;
    const QString year = choice.text.trimmed();
    if (year.compare(u"2024"_s) > 0) {
        NrMessageDlg(u"L'anno finanziario %1 non è gestito da questa versione del programma: l'ultimo è il 2024."_s.arg(year),
                     MsgDlgType::Warning);
        return false;
    }
    if (year.compare(u"2019"_s) < 0)
        return true;
    TNrQuery entries(requireConnection(connection()));
    entries.fetch(u"QRY_NAF_EFFETTUATO"_s, 0, u"SELECT"_s);
    entries.setParam(u"IANFID"_s, choice.id);
    entries.open();
    const qint64 total = entries.next() ? entries.value(u"TOTALE"_s).toLongLong() : 0;
    entries.close();
    if (total > 0)
        return true;
    if (!accountExists(500001) && !accountExists(200001)) {
        const QString program = chartOfAccountsProgram();
        if (!QFile::exists(program)) {
            NrMessageDlg(u"Il piano dei conti 2019 non è presente e il programma che lo crea non è stato trovato: «%1»."_s.arg(program),
                         MsgDlgType::Error);
            return false;
        }
        QProcess process;
        process.start(program, {connection()->database().databaseName()});
        if (!process.waitForStarted(-1) || !process.waitForFinished(-1)) {
            NrMessageDlg(u"Impossibile eseguire il programma «%1»: %2"_s.arg(program, process.errorString()), MsgDlgType::Error);
            return false;
        }
    }
    if (!accountExists(200001)) {
        NrMessageDlg(u"Il piano dei conti 2019 non è presente per l'anno finanziario %1: impossibile sceglierlo."_s.arg(year),
                     MsgDlgType::Warning);
        return false;
    }
    return true;
}
