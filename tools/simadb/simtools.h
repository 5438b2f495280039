#pragma once

// Entry point shared by the simulated phone's adb, netstat, tasklist and
// taskkill. Each executable passes its own tool name.
int simadbMain(const char *tool, int argc, char **argv);
