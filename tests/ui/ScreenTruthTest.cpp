// What the window holds on screen after each command must equal a fresh render of the window: no
// line or cell may keep a text that the record no longer says.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string_view>

#include <QLineEdit>
#include <QScreen>
#include <QTest>

#include "platform/RegistryHive.h"
#include "settings/ConfigDlg.h"
#include "tests/ui/UiTestSupport.h"
#include "tests/ui/WindowFixture.h"

namespace {

class ScreenTruth : public WindowFixture {
protected:
    // OK in the configuration dialog writes the hive; later windows must start from defaults.
    ~ScreenTruth() override { std::filesystem::remove(CRegistryHive::UserHivePath()); }

    // The pixels the platform holds for the window, once every pending paint has run.
    QImage OnScreen() {
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
        QScreen* screen = dlg.screen();
        if (!screen) return {};
        return screen->grabWindow(dlg.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    }
    QImage FreshRender() { return dlg.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // Runs the configuration dialog and presses OK with the given won-cycle limit.
    void ConfigureWinCycles(int winCycles) {
        CModalAnswer<CConfigDlg> answer([&](CConfigDlg& config) {
            auto* edit = config.findChild<QLineEdit*>(QStringLiteral("m_editWinStopNum"));
            ASSERT_NE(edit, nullptr);
            edit->setText(QString::number(winCycles));
            config.accept();
        });
        Click("m_btnConfigure");
        EXPECT_TRUE(answer.Answered());
    }
};

// A shoe with no stop rule in reach, so that it runs to its 66th hand.
void NeverStop(ShoeSettings& s) {
    s.m_nWinStopMoney = s.m_nLossStopMoney = 100000;
    s.m_nWinStopNum = s.m_nDangerous1 = s.m_nDangerous2 = 1000;
}

// 32 hands that end the shoe on its fourth won cycle.
constexpr std::string_view kEndingShoe = "BPBPBPPBBPBBBPPPPBBTPPPPPPBBPBBP";

TEST_F(ScreenTruth, EveryCommandLeavesTheScreenAsAFreshRenderWouldPaintIt) {
    if (OnScreen().isNull()) GTEST_SKIP() << "this platform cannot read the window back";
    struct Step {
        const char* name;
        std::function<void()> act;
    };
    const std::string_view full =
        "BPPBBPBPPPBBPBPPBPBBBPPBPBPBBPPBPBBPPPBPBBPBPBBPBPPBBPBPBPBBPPBBP";
    ASSERT_EQ(full.size(), 65u);
    const Step steps[] = {
        {"65 hands of a shoe that never stops",
         [&] { NeverStop(dlg.m_settings), ClickHands(full); }},
        {"the 66th hand", [&] { ClickHands("B"); }},
        {"a refused click on the full shoe", [&] { ClickHands("P"); }},
        {"Back on the full shoe", [&] { Click("m_btnBack"); }},
        {"Clear", [&] { Click("btnClear"); }},
        {"a shoe that ends on its won cycles",
         [&] {
             dlg.m_settings = ShoeSettings{};
             ClickHands(kEndingShoe);
         }},
        {"a refused click on the ended shoe", [&] { ClickHands("B"); }},
        {"OK that reopens the shoe", [&] { ConfigureWinCycles(9); }},
        {"a hand on the reopened shoe", [&] { ClickHands("P"); }},
        {"OK that ends the shoe", [&] { ConfigureWinCycles(1); }},
        {"Back on the ended shoe", [&] { Click("m_btnBack"); }},
        {"a random test",
         [&] {
             dlg.m_fnSeed = [] { return std::uint64_t{7}; };
             Click("m_btnRandomTest");
         }},
        {"a search on a small grid",
         [&] {
             // The search's radii are the table limits.
             dlg.m_settings.m_nXXLimitMoney = dlg.m_settings.m_nSXLimitMoney = 3;
             dlg.SearchParameters();
         }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        const QImage shown = OnScreen();
        const QImage fresh = FreshRender();
        ASSERT_EQ(shown.size(), fresh.size());
        EXPECT_TRUE(shown == fresh);
    }
}

}  // namespace
