#include "NruParams.h"

#include "Exceptions.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

using namespace Qt::Literals::StringLiterals;

namespace {

TdmNruParams *g_instance = nullptr;
const QString kGroup = u"NRUC_Params"_s;

} // namespace

TdmNruParams::TdmNruParams(TdmNrConnection *connection, const QString &settingsFile)
    : m_connection(connection)
    , m_settingsFile(settingsFile.isEmpty() ? defaultSettingsFile() : settingsFile)
{
    if (!g_instance)
        g_instance = this;
}

TdmNruParams::~TdmNruParams()
{
    if (g_instance == this)
        g_instance = nullptr;
}

TdmNruParams *TdmNruParams::instance()
{
    return g_instance;
}

QString TdmNruParams::defaultSettingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/elh770/NruParams.ini"_s;
}

QVariant TdmNruParams::value(const QString &name) const
{
    QSettings settings(m_settingsFile, QSettings::IniFormat);
    return settings.value(kGroup + u'/' + name);
}

int TdmNruParams::intValue(const QString &name) const
{
    bool ok = false;
    const int v = value(name).toInt(&ok);
    return ok ? v : 0;
}

void TdmNruParams::setValue(const QString &name, const QVariant &value)
{
    QDir().mkpath(QFileInfo(m_settingsFile).path());
    QSettings settings(m_settingsFile, QSettings::IniFormat);
    settings.setValue(kGroup + u'/' + name, value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw EInOutError(u"Impossibile salvare i parametri dell'utente in «%1»"_s.arg(m_settingsFile));
}
