#include "mainwin/application.h"

int main(int argc, char **argv)
{
    return mavrellMain(argc, argv);
}
