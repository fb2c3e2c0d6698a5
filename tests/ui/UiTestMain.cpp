// Runs the window tests headless, with the settings hive and the data folder in temporary folders,
// so that they never touch the user's home.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "ui/AppSetup.h"

int main(int argc, char** argv) {
    // Test discovery runs this program without the test's environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    QTemporaryDir data;
    if (!config.isValid() || !data.isValid()) return 1;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());

    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    SetUpApplication(app);
    return RUN_ALL_TESTS();
}
