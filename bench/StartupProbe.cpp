// The program as it starts, ending its message loop once its window is shown and painted: what the start-up
// benchmark (startup.py) times and weighs.
#include "TarvelleMain.h"

int main(int argc, char** argv)
{
    return tarvelle::RunTarvelle(argc, argv, true);
}
