#pragma once

// Program-wide state enums. The numeric values are part of the program's
// behaviour (they are compared and logged as numbers).

enum class ProgramType : int { ConnectingDevice = 0, Idle = 1 };

enum WorkPhase : int { None = 0, Scanning = 1, Scanned = 2, Erasing = 3 };

enum class AppStateType : int { Active = 0, NotActive = 1 };

enum class EraseType : int { All = 0, Private = 1, App = 2 };
