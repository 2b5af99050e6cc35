#include "ReturnCatalogue.h"
#include "Exceptions.h"

#include "CaseFile.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

// Each case of the file: a catalogue and the error it raises.
TEST(ReturnCatalogue, ErrorsNameTheFileTheTableAndTheField)
{
    for (const QJsonValue &value : caseFile(QStringLiteral(ELH_CASES_DIR "/CatalogueErrors.json"))) {
        const QJsonArray c = value.toArray();
        try {
            ReturnCatalogue::parse(c[0].toString().toUtf8(), u"c.json"_s);
            ADD_FAILURE() << c[0].toString().toStdString();
        } catch (const EDatabaseError &e) {
            EXPECT_EQ(e.message(), c[1].toString());
        }
    }
}
