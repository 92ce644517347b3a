#include "QrvLauncher.h"

int main(int argc, char** argv)
{
    return qrv::QurviaLauncherMain(argc, argv);
}
