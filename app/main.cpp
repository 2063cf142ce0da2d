// zel: the Quarvelin II PRO-ZEL program. Reads the settings, runs the main
// window, writes the settings back.
#include "app/zelapp.h"
#include "app/core/settings.h"
#include "radiolink/server/radioserver.h"

#include <QApplication>
#include <QStringList>

#include <cstdlib>
#include <ctime>

int main(int argc, char** argv) {
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
