#include "PrintFormats.h"
#include "ElhMStampe.h"
#include "Exceptions.h"

#include "CaseFile.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

// Each row of the case file: the formatting (the overlay engine's, the
// frontispiece's, an employee's or a self-employed person's certificate), the
// type code, the value (null: empty), the text written (null: the value is
// refused) and, for a certificate, the spacing of its characters.
TEST(PrintFormats, EveryFormattingWritesItsCodesAsTheFormsWantThem)
{
    for (const QJsonValue &value :
         caseFile(QStringLiteral(ELH_SOURCE_DIR "/tests/units/print/data/PrintFormatsCases.json"))) {
        const QJsonArray row = value.toArray();
        const QString kind = row.at(0).toString();
        const QString type = row.at(1).toString();
        const QString input = row.at(2).toString();
        SCOPED_TRACE(QString(kind + u' ' + type + u" «"_s + input + u'»').toStdString());
        const auto format = [&]() -> PrintFormats::CertificateValue {
            if (kind == u"engine")
                return {PrintFormats::engineValue(type, input), 0};
            if (kind == u"frontispiece")
                return {TdmElhStampe::FormattaValore(type, input), 0};
            return kind == u"employee" ? PrintFormats::employeeValue(type, input)
                                       : PrintFormats::selfEmployedValue(type, input);
        };
        if (row.at(3).isNull()) {
            EXPECT_THROW(format(), EConvertError);
            continue;
        }
        const PrintFormats::CertificateValue written = format();
        EXPECT_EQ(written.text.toStdString(), row.at(3).toString().toStdString());
        EXPECT_DOUBLE_EQ(written.spacing, row.at(4).toDouble());
    }
}
