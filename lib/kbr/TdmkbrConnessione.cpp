#include "TdmkbrConnessione.h"

#include "DataPaths.h"
#include "Exceptions.h"
#include "KbrSchema.h"
#include "NrExceptions.h"
#include "NrQuery.h"
#include "NrTransaction.h"
#include "THlmReport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

using namespace Qt::Literals::StringLiterals;

namespace {

// The start-up statements, in the order they run at every opening.
const QStringList kStartupStatements{
    u"QRY_AVVIO_VARR_DIP"_s,  u"QRY_AVVIO_VARR_AMM"_s,        u"QRY_AVVIO_CDS_REGISTRO"_s,
    u"QRY_AVVIO_AFI_VUOTE"_s, u"QRY_AVVIO_CUFO_TIPOSCUOLA"_s,
};

} // namespace

TdmkbrConnessione::TdmkbrConnessione()
    : TdmNrConnection(u"xqoMain"_s)
{
    DataModuleCreate();
    setSettings(loadSettings());
    m_queryText.load(definitionsFolder());
    setStatementSource(&m_queryText);
}

TdmkbrConnessione::~TdmkbrConnessione()
{
    CloseConnection();
}

QString TdmkbrConnessione::definitionsFolder()
{
    return DataPaths::fromRoot(u"etc\\kbr\\"_s);
}

QString TdmkbrConnessione::installationFolder()
{
    return DataPaths::fromRoot(u"usr\\kbr\\"_s);
}

NrConnectionSettings TdmkbrConnessione::loadSettings()
{
    const QString folder = installationFolder();
    const QString path = DataPaths::resolve(folder, QString::fromUtf16(kSettingsFile));
    if (!QFile::exists(path)) {
        if (!QDir().mkpath(folder))
            throw EInOutError(u"Impossibile creare la cartella «%1»"_s.arg(folder));
        QSettings defaults(path, QSettings::IniFormat);
        defaults.setValue(u"Database/Driver"_s, u"QSQLITE"_s);
        defaults.setValue(u"Database/Database"_s, u"kbr.sqlite"_s);
        defaults.sync();
        if (defaults.status() != QSettings::NoError)
            throw EInOutError(u"Impossibile scrivere le impostazioni «%1»"_s.arg(path));
    }
    QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        throw EInOutError(u"Impossibile leggere le impostazioni «%1»"_s.arg(path));
    if (!ini.childGroups().contains(u"Database"_s)) {
        throw EInOutError(
            u"Impostazioni «%1»: manca la sezione [Database] con Driver= e Database= (sezioni trovate: %2)"_s.arg(
                QDir::toNativeSeparators(path),
                ini.childGroups().isEmpty() ? u"nessuna"_s : ini.childGroups().join(u", "_s)));
    }
    NrConnectionSettings s;
    s.driver = ini.value(u"Database/Driver"_s, u"QSQLITE"_s).toString().trimmed().toUpper();
    s.database = ini.value(u"Database/Database"_s).toString().trimmed();
    s.host = ini.value(u"Database/Host"_s).toString().trimmed();
    s.user = ini.value(u"Database/User"_s).toString().trimmed();
    const QString port = ini.value(u"Database/Port"_s).toString().trimmed();
    if (!port.isEmpty()) {
        bool ok = false;
        s.port = port.toInt(&ok);
        if (!ok || s.port <= 0 || s.port > 65535)
            throw EInOutError(u"Impostazioni «%1»: porta «%2» non valida nella sezione [Database]"_s.arg(path, port));
    }
    // Seconds, from 1 to 3600; the default when the key is missing.
    auto seconds = [&](const QString &key, const QString &what, int *value) {
        const QString text = ini.value(u"Database/"_s + key).toString().trimmed();
        if (text.isEmpty())
            return;
        bool ok = false;
        *value = text.toInt(&ok);
        if (!ok || *value < 1 || *value > 3600)
            throw EInOutError(
                u"Impostazioni «%1»: %2 «%3» non valida nella sezione [Database] (%4=, secondi, da 1 a 3600)"_s.arg(
                    path, what, text, key));
    };
    seconds(u"Attesa"_s, u"attesa"_s, &s.waitSeconds);
    seconds(u"Silenzio"_s, u"durata del silenzio del server"_s, &s.silenceSeconds);
    if (s.driver == u"QSQLITE") {
        if (s.database.isEmpty())
            s.database = u"kbr.sqlite"_s;
        if (QDir::isRelativePath(s.database))
            s.database = DataPaths::resolve(folder, s.database);
    } else if (s.database.isEmpty()) {
        throw EInOutError(
            u"Impostazioni «%1»: manca il nome del database (Database=) nella sezione [Database]"_s.arg(path));
    }
    return s;
}

bool TdmkbrConnessione::OpenConnection()
{
    checkConnectionAllowed();
    if (connected())
        return true;
    // The store is checked once; reopening the connection relies on that check.
    if (!m_statementsValid && !m_queryText.checkValidity(QString::fromUtf16(kApplication), *m_findings))
        return false;
    m_statementsValid = true;
    if (!m_creating && settings().driver == u"QSQLITE") {
        const QFileInfo file(settings().database);
        if (!file.exists()) {
            throw ENrError(u"Il database %1 non esiste. Per crearlo usare «elh770 crea-database»; se la scuola ne ha "
                           "già uno, indicarlo in «KbrPar.ini» (sezione [Database], Database=)."_s.arg(describe()));
        }
        if (file.size() == 0) {
            throw ENrError(
                u"Il database %1 è un file vuoto (0 byte): non contiene i dati della scuola. Per crearne uno "
                "nuovo usare «elh770 crea-database»."_s.arg(describe()));
        }
    }
    TdmNrConnection::OpenConnection();
    try {
        const QStringList upgraded =
            KbrSchema::ensure(*this, definitionsFolder() + u"schema/"_s,
                              m_creating ? KbrSchema::Creation::Create : KbrSchema::Creation::Refuse);
        if (!upgraded.isEmpty())
            m_findings->information(upgraded.join(u'\n'));
        TNrTransaction transaction(*this);
        transaction.StartTransaction();
        TNrQuery q(*this);
        for (const QString &name : kStartupStatements) {
            q.fetch(name);
            q.execute();
        }
        THlmReport reports;
        reports.registerReports(q, DataPaths::resolve(definitionsFolder(), u"kbr_Report.xml"_s), false);
        TNrQuery family(*this);
        family.fetch(u"QRY_YAPVRFO"_s);
        family.setParam(u"IYAPVRFOID"_s, 11006);
        family.setParam(u"IYAPPID"_s, 11);
        family.execute();
        family.fetch(u"QRY_YRFO"_s);
        family.setParam(u"IYRFOID"_s, 11006);
        family.setParam(u"IYRFOID_P"_s, 11001);
        family.setParam(u"SYRFODESC"_s, u"Registro compensi"_s);
        family.execute();
        transaction.Commit();
    } catch (...) {
        CloseConnection();
        throw;
    }
    return true;
}

bool TdmkbrConnessione::createDatabase()
{
    m_creating = true;
    if (settings().driver == u"QSQLITE")
        QDir().mkpath(QFileInfo(settings().database).path());
    try {
        const bool opened = OpenConnection();
        m_creating = false;
        return opened;
    } catch (...) {
        m_creating = false;
        throw;
    }
}

bool TdmkbrConnessione::openOrGoOn()
{
    try {
        if (OpenConnection())
            return true;
    } catch (const EAbort &) {
        // Already shown.
    } catch (const Exception &e) {
        m_findings->error(m_queryText.decorate(e));
    }
    setNrGlobConn(nullptr);
    return false;
}
