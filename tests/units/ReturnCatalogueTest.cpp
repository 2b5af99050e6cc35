#include "ReturnCatalogue.h"
#include "Exceptions.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

TEST(ReturnCatalogue, ErrorsNameTheFileTheTableAndTheField)
{
    const struct
    {
        const char *json;
        const char16_t *message;
    } cases[] = {
        {R"({"tables": [{"name": "T1", "program": "elh", "fields": ["A:numero"]}]})",
         u"Catalogo delle tabelle «c.json»: tabella T1: campo «A:numero» non nella forma NOME:tipo, "
         u"NOME:string:dimensione o NOME:decimal:decimali"},
        {R"({"tables": [{"name": "T1", "program": "elh", "fields": ["A:decimal:3", "B:decimal:5"]}]})",
         u"Catalogo delle tabelle «c.json»: tabella T1: Il campo B non può mostrare più di 4 decimali"},
        {R"({"tables": [{"name": "T1", "program": "xyz", "fields": ["A:integer"]}]})",
         u"Catalogo delle tabelle «c.json»: tabella T1: programma «xyz» sconosciuto"},
        {R"({"tables": [{"name": "T1", "program": "elh", "fields": ["A:integer", "a:date"]}]})",
         u"Catalogo delle tabelle «c.json»: tabella T1: Campo duplicato: a"},
        {R"({"tables": [{"name": "T1", "program": "elh", "fields": []}]})",
         u"Catalogo delle tabelle «c.json»: tabella T1 senza campi"},
        {R"({"tables": [)", u"Catalogo delle tabelle «c.json»: JSON non valido alla riga 1: unterminated array"},
    };
    for (const auto &c : cases) {
        try {
            ReturnCatalogue::parse(c.json, u"c.json"_s);
            ADD_FAILURE() << c.json;
        } catch (const EDatabaseError &e) {
            EXPECT_EQ(e.message(), QString::fromUtf16(c.message));
        }
    }
}
