#pragma once

#include <QString>
#include <QVariant>

class TdmNrConnection;

// The framework's parameters data module: the per-user parameters of the
// suite (current school year, financial year and school) kept in a settings
// file of the user, and the connection the parameter queries use.
class TdmNruParams
{
public:
    static constexpr const char16_t *kAnsId = u"NRUP_AnsId";
    static constexpr const char16_t *kAnfId = u"NRUP_AnfId";
    static constexpr const char16_t *kDwgId = u"NRUP_DwgId";

    // An empty settings file means the user's own (defaultSettingsFile()).
    explicit TdmNruParams(TdmNrConnection *connection, const QString &settingsFile = QString());
    virtual ~TdmNruParams();
    TdmNruParams(const TdmNruParams &) = delete;
    TdmNruParams &operator=(const TdmNruParams &) = delete;

    // The module created at start, which objects given none use.
    static TdmNruParams *instance();
    // "NruParams.ini" in the elh770 folder of the user's configuration folder.
    static QString defaultSettingsFile();

    TdmNrConnection *connection() const { return m_connection; }
    void setConnection(TdmNrConnection *connection) { m_connection = connection; }
    const QString &settingsFile() const { return m_settingsFile; }

    QVariant value(const QString &name) const;
    // The value as an integer; 0 when missing or not a number.
    int intValue(const QString &name) const;
    void setValue(const QString &name, const QVariant &value);

    int ansId() const { return intValue(QString::fromUtf16(kAnsId)); }
    int anfId() const { return intValue(QString::fromUtf16(kAnfId)); }
    int dwgId() const { return intValue(QString::fromUtf16(kDwgId)); }

private:
    TdmNrConnection *m_connection;
    QString m_settingsFile;
};
