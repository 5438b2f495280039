#include "simtools.h"

int main(int argc, char **argv)
{
    return simadbMain(SIMADB_TOOL, argc, argv);
}
