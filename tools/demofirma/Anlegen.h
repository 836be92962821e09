// Writes a generated company into an empty station database through the project's database layer.
#pragma once

class TDBVerbindung;

namespace Demofirma {

struct TFirma;

// All or nothing, in one transaction on the open connection. Refuses with an EFehler of type
// EDatenbankNichtLeer when the database already holds employees or departments besides the
// placeholders with key 1, or any measurement. Lookup rows are found by their text and added
// only when missing, so that a database shared with other programs keeps its keys.
void Anlegen(TDBVerbindung& verbindung, const TFirma& firma);

} // namespace Demofirma
