// Runs the window tests headless, with the settings hive and the data folder in temporary folders,
// so that they never touch the user's home.
#include <gtest/gtest.h>

#include <filesystem>
#include <system_error>

#include <QApplication>
#include <QTemporaryDir>

#include "ui/AppSetup.h"

namespace {

// Every test starts without the journal and history that an earlier test's window left, so that
// no window offers an earlier test's shoe.
// Only the program's own temporary data home is cleaned, never a folder a test pointed it at.
class CFreshDataFolder : public testing::EmptyTestEventListener {
public:
    explicit CFreshDataFolder(std::filesystem::path folder) : m_folder(std::move(folder)) {}

private:
    void OnTestStart(const testing::TestInfo&) override { Clean(); }
    void OnTestEnd(const testing::TestInfo&) override { Clean(); }
    void Clean() const {
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }

    std::filesystem::path m_folder;
};

}  // namespace

int main(int argc, char** argv) {
    // Test discovery runs this program without the test's environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    QTemporaryDir data;
    if (!config.isValid() || !data.isValid()) return 1;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());

    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(
        new CFreshDataFolder(std::filesystem::path(data.path().toStdString()) / "nuv"));
    QApplication app(argc, argv);
    SetUpApplication(app);
    return RUN_ALL_TESTS();
}
