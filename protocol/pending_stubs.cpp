// Functions of other subsystems that the protocol calls and that are not on
// main yet.

#include "mainwindow.h"
