// Widget tests run on the offscreen platform with one application object.
#include "radiolink/server/radioserver.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    radioserver::IsRegistered();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
