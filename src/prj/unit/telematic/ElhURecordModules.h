#pragma once

#include "ClientDataSet.h"
#include "ElhUModulePlan.h"
#include "ElhURecordAssembly.h"
#include "NrExceptions.h"

#include <QChar>
#include <QList>

// Builds every module of the plan in turn: the module is selected (each
// table on its first row of the module), `buildModule(module)` emits it, and every
// table must then stand past the rows the module takes. A table whose rows
// are not taken means that the descriptor lacks the section for them, which
// would leave them out of the file.
template<class BuildModule>
void buildPlannedModules(RecordAssembly &assembly, ModulePlan &plan, const QList<ModulePlan::Table> &tables,
                         QChar recordType, BuildModule buildModule)
{
    for (const ModulePlan::Module &module : plan.modules()) {
        plan.select(module);
        assembly.setModule(&plan, module.agent);
        buildModule(module);
        for (const ModulePlan::Table &t : tables) {
            const int next = module.index * t.layout->rowsPerModule + plan.rows(*t.rows) + 1;
            const bool taken = next > t.rows->recordCount() ? t.rows->eof() : t.rows->recNo() == next;
            if (!taken)
                throw ENrError(QStringLiteral("Il descrittore del record %1 non ha una sezione per le righe di %2")
                                   .arg(recordType, t.rows->name()));
        }
    }
    assembly.setModule(nullptr, QString());
    plan.release();
}
