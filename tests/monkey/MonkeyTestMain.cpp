// main() of the monkey's tests: the program's own application object, whose
// event dispatch shows an exception that escapes a handler as the program
// does, instead of ending the process.
#include "QrvApplication.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    qrv::TQurviaApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
