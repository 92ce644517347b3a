// Writes one setting and saves the settings file at exit, the way a setting
// variable and the program's end do it. Usage:
//   qurvia_settings_save_helper <file> <colour>
// It prints "saving" just before the save and "saved" after it, so the crash
// test can aim its kills at the save itself. It uses only the file layer, so it starts
// without loading the widget libraries and many runs fit in a short time.
#include "QrvIniValues.h"
#include "QrvSettingsFile.h"

#include <cstdlib>
#include <exception>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: " << argv[0] << " <settings file> <colour>\n";
        return 2;
    }
    try {
        qrv::OpenSettingsFile(QString::fromLocal8Bit(argv[1]));
        qrv::WriteIniInteger("Appearance", "Element_Color", std::atoi(argv[2]));
        std::cout << "saving" << std::endl;
        qrv::CloseSettingsFile();
        std::cout << "saved" << std::endl;
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
