#pragma once

namespace app {

// Registers the program's compiled-in pictures, user guide and translations
// (idempotent).
void initPurgatexResources();

} // namespace app
