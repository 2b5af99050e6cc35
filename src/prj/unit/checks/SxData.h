#pragma once

class ClientDataSet;

// Whether a record of the Prospetto SX declares something: one of the
// credits that open the lines of the form, or a special-statute region
// ticked. The editor shows it as "Dati presenti"; the file wizard offers
// the page of the Prospetti of record D when one does.
namespace SxData {

bool present(const ClientDataSet &sx);

} // namespace SxData
