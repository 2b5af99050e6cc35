// Build step: turns the readable source of the statements into the packed
// query-text store with its certificate, declaring the program's version.
//   elh_querytext SOURCE.xml DEST.cds PROGRAM VERSION

#include "ClientDataSet.h"
#include "Exceptions.h"
#include "THlmQueryText.h"

#include <QFile>
#include <QTextStream>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char *argv[])
{
    QTextStream err(stderr);
    if (argc != 5) {
        err << u"Uso: elh_querytext SORGENTE.xml DESTINAZIONE.cds PROGRAMMA VERSIONE\n"_s;
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString target = QString::fromLocal8Bit(argv[2]);
    try {
        QFile file(source);
        if (!file.open(QIODevice::ReadOnly))
            throw EInOutError(u"Impossibile aprire «%1»: %2"_s.arg(source, file.errorString()));
        ClientDataSet store(u"kbr_QueryText"_s);
        THlmQueryText::loadSource(store, file.readAll(), source, QString::fromLocal8Bit(argv[3]),
                                  QString::fromLocal8Bit(argv[4]));
        THlmQueryText::save(store, target);
    } catch (const Exception &e) {
        err << e.message() << Qt::endl;
        return 1;
    }
    return 0;
}
