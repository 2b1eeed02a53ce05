#pragma once
// The toolkit's own texts (standard buttons, dialogs) in German.

namespace tarvendo {

// Installs Qt's German translations for the running application; false when
// they are not installed, and the toolkit then speaks English.
bool lade_übersetzungen();

}  // namespace tarvendo
