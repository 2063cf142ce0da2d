// zel: the Quarvelin II PRO-ZEL program. Reads the settings, runs the main
// window, writes the settings back.
#include "app/core/settings.h"
#include "app/zelapp.h"
#include "radiolink/server/radioserver.h"
#include "resources/version.h"

#include <QApplication>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>

namespace {

constexpr const char* kUsage =
    "Usage: zel [FILE.zel]\n"
    "Quarvelin II PRO-ZEL: prepares the configuration of a trunking option board and\n"
    "programs it into the board. FILE.zel opens at start.\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and exit\n"
    "zeltool(1) does the same work on the command line.\n";

} // namespace

int main(int argc, char** argv) {
    // Asked for help or the version, the program answers on the terminal and
    // opens no window.
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-h" || argument == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (argument == "--version") {
            std::printf("zel %s\n", BuildVersion());
            return 0;
        }
    }
    const std::filesystem::path program = ThisProgram(argv[0]);
    ReadAllSettings(program, AppSettings());
    const std::filesystem::path settingsFile = SettingsLocation(program);
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    // The radio communications server registers itself as it is loaded.
    radioserver::IsRegistered();

    int result = 0;
    {
        QApplication application(argc, argv);
        TZelApp app(application);
        const QStringList arguments = QApplication::arguments();
        if (arguments.size() > 1)
            app.OpenOnStart(arguments.at(1));
        result = app.Run();
    }
    WriteSettings(settingsFile, AppSettings());
    return result;
}
