#include "QrvProgram.h"

int main(int argc, char** argv)
{
    return qrv::QurviaImageMain(argc, argv);
}
