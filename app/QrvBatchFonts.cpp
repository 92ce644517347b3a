#include "QrvBatchFonts.h"

#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <sys/stat.h>

namespace qrv
{

namespace
{

// The folders of Debian's fonts-liberation and fonts-liberation2.
constexpr const char* kLiberationFolders[] = {
    "/usr/share/fonts/truetype/liberation",
    "/usr/share/fonts/truetype/liberation2",
};

// The variables with which a user chooses fontconfig's configuration.
constexpr const char* kUserConfigurationVariables[] = {"FONTCONFIG_FILE", "FONTCONFIG_PATH",
                                                       "FONTCONFIG_SYSROOT"};

std::string ConfigurationFor(const std::string& folder)
{
    // The caches are the system's, which the font packages fill when they
    // are installed, and the user's own for a folder the system's lacks.
    // The rendering rules are those of the system's defaults, so a picture
    // looks as it does with the full configuration.
    return "<?xml version=\"1.0\"?>\n"
           "<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
           "<fontconfig>\n"
           "  <dir>" +
           folder +
           "</dir>\n"
           "  <cachedir>/var/cache/fontconfig</cachedir>\n"
           "  <cachedir prefix=\"xdg\">fontconfig</cachedir>\n"
           "  <alias binding=\"same\"><family>Arial</family>"
           "<accept><family>Liberation Sans</family></accept></alias>\n"
           "  <match target=\"font\">\n"
           "    <edit name=\"antialias\" mode=\"assign\"><bool>true</bool></edit>\n"
           "    <edit name=\"hinting\" mode=\"assign\"><bool>true</bool></edit>\n"
           "    <edit name=\"hintstyle\" mode=\"assign\"><const>hintslight</const></edit>\n"
           "    <edit name=\"lcdfilter\" mode=\"assign\"><const>lcddefault</const></edit>\n"
           "  </match>\n"
           "</fontconfig>\n";
}

} // namespace

TFontSystem RealFontSystem()
{
    return {[](const char* name) -> const char* { return std::getenv(name); },
            [](const std::string& path) {
                struct stat info;
                return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
            }};
}

std::optional<std::string> BatchFontConfiguration(const TFontSystem& system)
{
    for (const char* variable : kUserConfigurationVariables) {
        const char* value = system.Variable(variable);
        if (value != nullptr && *value != '\0') return std::nullopt;
    }
    for (const char* folder : kLiberationFolders)
        if (system.FileExists(std::string(folder) + "/" + kLiberationSansFile))
            return ConfigurationFor(folder);
    return std::nullopt;
}

bool InstallBatchFonts(const TFontSystem& system)
{
    const std::optional<std::string> text = BatchFontConfiguration(system);
    if (!text) return false;
    FcConfig* config = FcConfigCreate();
    if (config == nullptr) return false;
    const auto* bytes = reinterpret_cast<const FcChar8*>(text->c_str());
    // Any failure leaves the system's configuration to be loaded as usual.
    const bool installed = FcConfigParseAndLoadFromMemory(config, bytes, FcTrue) &&
                           FcConfigBuildFonts(config) && FcConfigSetCurrent(config);
    // The current configuration holds a reference of its own.
    FcConfigDestroy(config);
    return installed;
}

} // namespace qrv
