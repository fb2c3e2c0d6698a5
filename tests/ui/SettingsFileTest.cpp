// The window and a settings file that cannot be read or written: it says so, names the file and
// the reason, and the settings still hold for the run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "dialogs/Product.h"
#include "platform/RegistryHive.h"
#include "settings/ConfigDlg.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/NuvDlg.h"

namespace {

namespace fs = std::filesystem;

const fs::path& Hive() {
    static const fs::path path = CRegistryHive::UserHivePath();
    return path;
}
fs::path Lock() {
    return Hive().string() + ".lock";
}

std::string Text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The test program shares one settings folder between its tests: each of these starts without a
// hive or a lock and leaves none.
class SettingsFile : public testing::Test {
protected:
    SettingsFile() { Clean(); }
    ~SettingsFile() override {
        dlg.reset();
        Clean();
    }
    static void Clean() {
        fs::remove_all(Hive());
        fs::remove_all(Lock());
    }

    void Open() {
        dlg = std::make_unique<CnuvDlg>(nullptr, &prompter);
        dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
    }

    // Clicks "配置(&A)", types `winStop` into the configuration dialog once it is up (10 s at the
    // most) and presses OK. False if no dialog came up.
    bool ConfigureWinStop(const QString& winStop) {
        bool done = false;
        QElapsedTimer waited;
        waited.start();
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, [&] {
            auto* config = qobject_cast<CConfigDlg*>(QApplication::activeModalWidget());
            if (config) {
                look.stop();
                config->findChild<QLineEdit*>(QStringLiteral("m_editWinStopMoney"))
                    ->setText(winStop);
                QTest::mouseClick(config->findChild<QPushButton*>(QStringLiteral("btnOk")),
                                  Qt::LeftButton);
                done = !config->isVisible();
                if (config->isVisible()) config->reject();
            } else if (waited.elapsed() > 10000) {
                look.stop();
            }
        });
        look.start(10);
        QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("m_btnConfigure")),
                          Qt::LeftButton);
        return done;
    }

    CRecordingPrompter prompter;
    std::unique_ptr<CnuvDlg> dlg;
};

// A folder where the file should be: one message at start-up, with the file and the reason; the
// defaults; OK cannot save, and says so, but the new settings hold for the run; the folder stays.
TEST_F(SettingsFile, UnreadableHiveIsToldAtStartAndNeverWritten) {
    fs::create_directories(Hive());
    Open();
    const QString path = QString::fromStdString(Hive().string());
    ASSERT_EQ(prompter.Count(), 1u);
    EXPECT_EQ(prompter.At(0).caption, kProductName);
    EXPECT_EQ(prompter.At(0).text,
              QStringLiteral("无法读取设置文件“%1”：Is a directory\n\n这次运行使用默认设置，该文件"
                             "保持原样；在“配置”中所做的更改只在这次运行中有效。")
                  .arg(path));
    EXPECT_EQ(prompter.At(0).icon, CPrompter::Icon::Warning);
    EXPECT_EQ(dlg->m_settings, ShoeSettings{});

    ASSERT_TRUE(ConfigureWinStop(QStringLiteral("31")));
    ASSERT_EQ(prompter.Count(), 2u);
    EXPECT_EQ(prompter.At(1).caption, QStringLiteral("配置信息"));
    EXPECT_EQ(prompter.At(1).text,
              QStringLiteral("设置没有保存到“%1”：Is a directory\n\n新的设置只在这次运行中有效。")
                  .arg(path));
    EXPECT_EQ(prompter.At(1).icon, CPrompter::Icon::Warning);
    EXPECT_EQ(dlg->m_settings.m_nWinStopMoney, 31);
    EXPECT_TRUE(fs::is_directory(Hive()));
}

// A hive that reads but cannot be written (its lock cannot be taken): nothing at start-up, and OK
// says that the settings were not saved; the hive stays as it was.
TEST_F(SettingsFile, UnwritableHiveIsToldWhenOkCannotSave) {
    fs::create_directories(Hive().parent_path());
    const std::string saved =
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_CURRENT_USER\\Darozova]\n"
        "\"Version\"=dword:00000138\n"
        "\"XXLimitMoney\"=dword:000000c8\n"
        "\"SXLimitMoney\"=dword:00004e20\n"
        "\"WinStopMoney\"=dword:0000001e\n"
        "\"LossStopMoney\"=dword:00000124\n"
        "\"WinStopNum\"=dword:00000004\n"
        "\"Dangerous1\"=dword:00000009\n"
        "\"Dangerous2\"=dword:00000028\n"
        "\"AfterWinStop\"=dword:00000000\n\n";
    std::ofstream(Hive(), std::ios::binary) << saved;
    fs::create_directories(Lock());
    Open();
    EXPECT_EQ(prompter.Count(), 0u);
    EXPECT_EQ(dlg->m_settings.m_nWinStopMoney, 30);

    ASSERT_TRUE(ConfigureWinStop(QStringLiteral("31")));
    ASSERT_EQ(prompter.Count(), 1u);
    EXPECT_EQ(prompter.Last().text,
              QStringLiteral("设置没有保存到“%1”：Is a directory\n\n新的设置只在这次运行中有效。")
                  .arg(QString::fromStdString(Lock().string())));
    EXPECT_EQ(dlg->m_settings.m_nWinStopMoney, 31);
    EXPECT_EQ(Text(Hive()), saved);
}

}  // namespace
