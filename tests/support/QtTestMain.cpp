// main() for GoogleTest executables that need a QApplication. The tests run
// headless: the platform plugin comes from QT_QPA_PLATFORM (offscreen), set
// by ctest; it is defaulted here too so the binary also runs by hand.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
