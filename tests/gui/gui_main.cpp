// Widget tests run on the offscreen platform with one application object.
#include "radiolink/server/radioserver.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The recent-files list, the programming log and the like go to folders
    // of the tests' own, never the user's.
    const std::string config = testing::TempDir() + "gui-test-config-" + std::to_string(getpid());
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    const std::string data = testing::TempDir() + "gui-test-data-" + std::to_string(getpid());
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    QApplication application(argc, argv);
    radioserver::IsRegistered();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
