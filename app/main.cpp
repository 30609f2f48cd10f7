#include "app/ui/program.h"

int main(int argc, char** argv)
{
    return pimoko::RunProgram(argc, argv);
}
