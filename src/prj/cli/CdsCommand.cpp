#include "CdsCommand.h"

#include "CdsExchange.h"
#include "ClientDataSet.h"
#include "Exceptions.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(u"Impossibile aprire il file «%1»: %2"_s.arg(path, file.errorString()));
    return file.readAll();
}

} // namespace

int runCdsCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const QString verb = arguments.value(0);
    if (verb == u"leggi" && (arguments.size() == 2 || (arguments.size() == 3 && arguments[2] == u"--csv"))) {
        ClientDataSet ds(QFileInfo(arguments[1]).completeBaseName());
        ds.loadFromFile(arguments[1]);
        // A large table goes out piece by piece; a standard output that no
        // longer takes text stops the command at once.
        const CdsExchange::Sink write = [&out](QByteArrayView piece) {
            out << QString::fromUtf8(piece);
            if (out.status() != QTextStream::Ok)
                throw EAbort();
        };
        if (arguments.size() == 3)
            CdsExchange::toCsv(ds, write);
        else
            CdsExchange::toJson(ds, write);
        return 0;
    }
    if (verb == u"scrivi" && arguments.size() == 3) {
        const QString source = arguments[1];
        ClientDataSet ds(QFileInfo(arguments[2]).completeBaseName());
        const QByteArray data = readAll(source);
        if (source.endsWith(u".csv"_s, Qt::CaseInsensitive))
            CdsExchange::fromCsv(ds, data, source);
        else if (source.endsWith(u".json"_s, Qt::CaseInsensitive))
            CdsExchange::fromJson(ds, data, source);
        else
            throw EInOutError(u"Il file «%1» non è né .json né .csv"_s.arg(source));
        ds.saveToFile(arguments[2]);
        out << u"Scritto «%1»: %2 record.\n"_s.arg(arguments[2]).arg(ds.recordCount());
        return 0;
    }
    err << u"Uso: elh770 cds leggi FILE [--csv]  |  elh770 cds scrivi ORIGINE DESTINAZIONE\n"_s;
    return 2;
}
