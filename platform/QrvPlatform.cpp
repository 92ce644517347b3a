#include "QrvPlatform.h"

#include "QrvErrors.h"

namespace qrv
{

namespace
{

// The platform in force; nullptr until one is installed.
TPlatform* installed = nullptr;

} // namespace

TPlatform& Platform()
{
    // Without an installed platform (a unit test of one window, say) the Qt
    // dialogs answer.
    static TQtPlatform qt;
    return installed ? *installed : qt;
}

TScopedPlatform::TScopedPlatform(TPlatform& platform) : previous_(&Platform())
{
    installed = &platform;
}

TScopedPlatform::~TScopedPlatform()
{
    installed = previous_;
}

} // namespace qrv
