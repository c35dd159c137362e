// Tarvelle: the program. It takes no arguments of its own; Qt's (such as -platform) are honoured.
#include "TarvelleMain.h"

int main(int argc, char** argv)
{
    return tarvelle::RunTarvelle(argc, argv);
}
