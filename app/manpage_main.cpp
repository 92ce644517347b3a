// Writes the manual page qurvia(1) to standard output, from the same option
// table as --help. Run by the build; the page is installed beside the program.
#include "QrvAppTexts.h"
#include "QrvOptionTable.h"

#include <iostream>

int main()
{
    std::cout << qrv::ManPageText(qrv::Text::Version);
    std::cout.flush();
    return std::cout ? 0 : 1;
}
