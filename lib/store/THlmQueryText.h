#pragma once

#include "ClientDataSet.h"
#include "NrStatementSource.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <exception>

class FindingSink;

// The query-text store: every SQL statement run against the school database,
// by name ("QRY_PACO_ANF"), kind ("SELECT" or "EXECUTE") and index, loaded
// from "kbr_QueryText.cds" of the definitions folder. The file comes with a
// certificate (".unxc", a keyed digest of the file followed by a line break);
// the store may be used only when the certificate matches and the store
// declares the running program's version ("VER_" + program name).
class THlmQueryText : public NrStatementSource
{
public:
    static constexpr const char16_t *kFileName = u"kbr_QueryText.cds";

    THlmQueryText();

    // Loads the store of the folder, keeps the certificate of the file and
    // remembers where its ".unxc" file is; an absent or damaged store leaves
    // it empty and fails the validity check.
    void load(const QString &definitionsFolder);

    void fetch(const QString &name, TNrQuery &target, int index = 0,
               const QString &kind = QStringLiteral("EXECUTE")) override;

    // Replaces the placeholders "%s" (and "%d") of the text with the
    // arguments in order; "%%" is a percent sign. A text that does not fit
    // the arguments raises EConvertError.
    static QString format(const QString &text, const QStringList &args);

    // The message to show for an error: the shared library's warnings and
    // assertion failures as they are, anything else with the name of the
    // last statement fetched (when one was).
    QString decorate(const std::exception &error) const;

    // Whether the store may be used by the application (its name goes in the
    // message). Reports the reason as an error when not. The kept
    // certificate is used once.
    bool checkValidity(const QString &applicationName, FindingSink &findings);

    // Fills an empty store from the readable source of the statements:
    //   <QueryText><Riga Query="QRY_SED" Tipo="SELECT" Indice="0">SQL</Riga>...</QueryText>
    // (Indice 0 when absent), then adds the version row "VER_" + the program
    // name in upper case with the version as its kind. Errors name the
    // source and the line.
    static void loadSource(ClientDataSet &store, const QByteArray &xml, const QString &source,
                           const QString &programName, const QString &version);
    // The certificate of the bytes of a store file.
    static QByteArray certificate(const QByteArray &storeFile);
    // An empty store with the fields Query, Tipo, Indice, SQL.
    static void defineFields(ClientDataSet &store);
    // Writes the store to the path and its certificate beside it.
    static void save(ClientDataSet &store, const QString &cdsPath);

    ClientDataSet &dataSet() { return m_store; }

private:
    static QString key(const QString &name, const QString &kind, int index);

    ClientDataSet m_store;
    QHash<QString, QString> m_texts;
    QByteArray m_certificate;
    QString m_certificatePath;
    bool m_verify = false;
    QString m_last;
};
