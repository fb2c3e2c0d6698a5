// The random test of the strategy (button "随机测试").
#include "ui/NuvDlg.h"

#include <chrono>

#include "dialogs/Prompter.h"
#include "dialogs/WaitCursor.h"
#include "sim/RandomTest.h"
#include "ui/BackgroundWork.h"

std::uint64_t CnuvDlg::ClockSeed() {
    return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

void CnuvDlg::RunRandomTest() {
    // While a test or search runs, its wait keeps the event loop turning: no second one starts.
    if (m_shoe.m_bSimulating) return;
    if (!UpdateData(true)) return;
    const ShoeSettings settings = m_settings;  // what the worker threads read
    const RandomTestOptions options{m_nTestTimes, m_nTestShoes, m_fnSeed(), 0};
    RandomTestResult result;
    {
        CSimulating simulating(m_shoe);
        UpdateData(false);
        CWaitCursor wait;
        RunInBackground(this, Prompter(), QStringLiteral("随机测试"),
                        QStringLiteral("正在测试%1次 %2靴……").arg(m_nTestTimes).arg(m_nTestShoes),
                        [&](const WorkProgress& progress) {
                            result = ::RunRandomTest(settings, options, progress);
                        });
        ShowTestResult(settings, options.seed, result);
    }

    if (result.cancelled) {
        Prompter().Message(this, QStringLiteral("随机测试"),
                           QStringLiteral("随机测试已取消，只测试了%1靴；累计赢分和开始输的次数"
                                          "是这些靴的结果。")
                               .arg(result.shoesPlayed),
                           CPrompter::Icon::None);
    }
}

void CnuvDlg::ShowTestResult(const ShoeSettings& settings, std::uint64_t seed,
                             const RandomTestResult& result) {
    m_nTotalWin = result.TotalWinShown();
    m_nFirstLossRun = static_cast<std::int32_t>(result.firstLossRun);  // at most the runs asked
    if (result.lastRun > 0) {
        // The window shows the last shoe played, exactly as it was played. m_bSimulating is set,
        // so its end brings no message.
        ShoeReplacedByTest();
        m_shoe.SetSettings(settings);
        m_shoe.Replay(RandomShoeLetters(settings, seed, result.lastRun, result.lastShoe));
        m_shoe.SetSettings(m_settings);
    }
    RecordChanged();
    UpdateData(false);
}
