#pragma once

// Registers the program's compiled-in pictures and user guide (idempotent).
void initPurgatexResources();
