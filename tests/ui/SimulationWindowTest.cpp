// The random test and the parameter search as the window runs them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <string_view>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "sim/ParameterSearch.h"
#include "sim/RandomTest.h"
#include "sim/ShoeSpeed.h"
#include "tests/ui/UiTestSupport.h"
#include "tests/ui/WindowFixture.h"
#include "ui/NuvDlg.h"
#include "ui/RecordWnd.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kSeed = 20261211;

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString PathText(const fs::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

// The machine speed the window's estimate is given: a microsecond per shoe.
constexpr double kSecondsPerShoe = 1e-6;

// Shoe `shoe` of run `run` of a test with `seed`, replayed on an engine of its own.
CShoeEngine ReplayedShoe(const ShoeSettings& settings, std::int64_t run, std::int64_t shoe) {
    CShoeEngine engine(settings);
    engine.m_bSimulating = 1;
    engine.Replay(RandomShoeLetters(settings, kSeed, run, shoe));
    return engine;
}

// The window with its seed pinned and the ranking files' home in a temporary folder.
class SimulationWindow : public WindowFixture {
protected:
    SimulationWindow() {
        EXPECT_TRUE(m_dataHome.isValid());
        m_hadDataHome = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        m_savedDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dataHome.path()));
        dlg.m_fnSeed = [] { return kSeed; };
        dlg.m_fnSecondsPerShoe = [](const ShoeSettings&) { return kSecondsPerShoe; };
    }
    ~SimulationWindow() override {
        if (m_hadDataHome) {
            qputenv("XDG_DATA_HOME", m_savedDataHome);
        } else {
            qunsetenv("XDG_DATA_HOME");
        }
    }

    void SetTestRow(const QString& runs, const QString& shoes) {
        Find<QLineEdit>("m_editTestTimes")->setText(runs);
        Find<QLineEdit>("m_editTestShoes")->setText(shoes);
    }

    // The grids on screen show exactly the shoe recorded in `expected`.
    void ExpectGridsShow(const CShoeEngine& expected) {
        EXPECT_EQ(dlg.m_shoe.m_nHandCount, expected.m_nHandCount);
        EXPECT_EQ(dlg.m_shoe.m_nScore, expected.m_nScore);
        for (int i = 0; i < CShoeEngine::kHands; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(dlg.m_pResultCell[i]->Cell(), expected.m_ResultCell[i]);
            if (i >= CShoeEngine::kFirstAdvised) {
                EXPECT_EQ(dlg.m_pAdviceCell[i]->Cell(), expected.m_AdviceCell[i]);
            }
        }
    }

    // What the window's search is asked to do with the test row at `runs` x `shoes`.
    SearchOptions WindowSearch(std::int64_t runs, std::int64_t shoes) const {
        SearchOptions o;
        o.win = dlg.m_settings.m_nWinStopMoney;
        o.loss = dlg.m_settings.m_nLossStopMoney;
        o.winRadius = dlg.m_settings.m_nXXLimitMoney;
        o.lossRadius = dlg.m_settings.m_nSXLimitMoney;
        o.runs = runs;
        o.shoes = shoes;
        o.seed = kSeed;
        o.folder = fs::path(QFile::encodeName(m_dataHome.path()).toStdString()) / "nuv";
        return o;
    }

    static QByteArray Hive() {
        return ReadBytes(qEnvironmentVariable("XDG_CONFIG_HOME") + "/nuv/registry.reg");
    }

    QTemporaryDir m_dataHome;
    bool m_hadDataHome = false;
    QByteArray m_savedDataHome;
};

// --- random test ---

TEST_F(SimulationWindow, BadEntryInTheTestRowChangesNothing) {
    ClickHands("BBBPB");
    dlg.m_nTotalWin = 7;
    dlg.m_nFirstLossRun = 2;
    dlg.UpdateData(false);
    const CShoeEngine before = dlg.m_shoe;
    QLineEdit* shoes = Find<QLineEdit>("m_editTestShoes");
    SetTestRow("40", "4O");

    Click("m_btnRandomTest");
    ASSERT_EQ(prompter.Count(), 1u);
    EXPECT_EQ(prompter.Last().text, QStringLiteral("Please enter an integer."));
    EXPECT_EQ(dlg.focusWidget(), shoes);
    ExpectGridsShow(before);
    EXPECT_EQ(Edits(), (QStringList{"40", "4O", "7", "2"}));
    EXPECT_EQ(dlg.m_shoe.m_bSimulating, 0);
    EXPECT_TRUE(prompter.m_progressShown.isEmpty());
}

// The edits show the very figures the test gives for the seed, and the grids its last shoe, with
// no end-of-shoe message; the test plays under the window's current settings.
TEST_F(SimulationWindow, PinnedSeedShowsTheTestsFiguresAndLastShoe) {
    struct Case {
        const char* name;
        int runs;
        int shoes;
        int winStopNum;
    };
    const Case cases[] = {
        {"one shoe", 1, 1, 4},
        {"runs of several shoes", 30, 40, 4},
        {"stops at a losing run", 400, 3, 4},
        {"every shoe over at once", 3, 5, 0},
    };
    int sawLoss = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClickHands("BBPPB");  // a shoe of the user's, to be replaced
        dlg.m_settings.m_nWinStopNum = c.winStopNum;
        SetTestRow(QString::number(c.runs), QString::number(c.shoes));
        prompter.Clear();

        Click("m_btnRandomTest");
        const RandomTestResult expected = RunRandomTest(dlg.m_settings, {c.runs, c.shoes, kSeed});
        EXPECT_EQ(Edits(), (QStringList{QString::number(c.runs), QString::number(c.shoes),
                                        QString::number(expected.totalWin),
                                        QString::number(expected.firstLossRun)}));
        EXPECT_EQ(dlg.m_nTotalWin, expected.totalWin);
        EXPECT_EQ(dlg.m_nFirstLossRun, expected.firstLossRun);
        ASSERT_GT(expected.lastRun, 0);
        ExpectGridsShow(ReplayedShoe(dlg.m_settings, expected.lastRun, expected.lastShoe));
        EXPECT_EQ(prompter.Count(), 0u);
        EXPECT_EQ(dlg.m_shoe.m_bSimulating, 0);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        sawLoss += expected.firstLossRun > 0 && expected.firstLossRun < c.runs;
        Click("btnClear");
    }
    EXPECT_GT(sawLoss, 0) << "no case stopped early: pick another";
    EXPECT_TRUE(prompter.m_progressShown.isEmpty());
}

TEST_F(SimulationWindow, NoRunsOrNoShoesPlayNothingAndKeepTheShoe) {
    ClickHands("BBBPBP");
    const CShoeEngine before = dlg.m_shoe;
    const std::pair<const char*, const char*> rows[] = {
        {"0", "5"}, {"-3", "5"}, {"5", "0"}, {"5", "-1"}};
    for (const auto& [runs, shoes] : rows) {
        SCOPED_TRACE(std::string(runs) + " x " + shoes);
        dlg.m_nTotalWin = 7;
        dlg.m_nFirstLossRun = 2;
        SetTestRow(runs, shoes);
        Click("m_btnRandomTest");
        EXPECT_EQ(Edits(), (QStringList{runs, shoes, "0", "0"}));
        ExpectGridsShow(before);
        EXPECT_EQ(prompter.Count(), 0u);
        EXPECT_EQ(dlg.m_shoe.m_bSimulating, 0);
    }
}

// A test far too long to finish is cancelled from its progress box: the window shows the shoes
// it did play, says so, and stayed responsive throughout.
TEST_F(SimulationWindow, CancelledTestShowsWhatItPlayed) {
    SetTestRow("1", "2147483647");
    prompter.m_nCancelAtUpdate = 3;

    // A timer on the GUI thread that asks for a repaint each time: the gaps between its ticks and
    // the paints that follow show whether the window froze.
    int paints = 0;
    struct PaintCounter : QObject {
        int& count;
        explicit PaintCounter(int& c) : count(c) {}
        bool eventFilter(QObject*, QEvent* e) override {
            count += e->type() == QEvent::Paint;
            return false;
        }
    } counter(paints);
    dlg.installEventFilter(&counter);
    QElapsedTimer clock;
    qint64 last = 0, longestGap = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestGap = std::max(longestGap, now - last);
        last = now;
        dlg.update();
    });
    clock.start();
    ticker.start(20);
    dlg.RunRandomTest();
    ticker.stop();
    const qint64 took = clock.elapsed();
    dlg.removeEventFilter(&counter);

    EXPECT_EQ(prompter.m_progressShown,
              QStringList{QStringLiteral("随机测试|正在测试1次 2147483647靴……")});
    ASSERT_EQ(prompter.m_progress.size(), 3u);
    EXPECT_TRUE(std::is_sorted(prompter.m_progress.begin(), prompter.m_progress.end()));
    // The window kept repainting while the test ran (a frozen one paints nothing until the end).
    // No bound on the gaps: a loaded machine may stretch them, and the figure is printed below.
    EXPECT_GT(paints, 2);
    std::cout << "[          ] cancelled after " << took << " ms; longest gap between ticks "
              << longestGap << " ms; " << paints << " paints\n";

    ASSERT_EQ(prompter.Count(), 1u);
    EXPECT_EQ(prompter.Last().caption, QStringLiteral("随机测试"));
    EXPECT_FALSE(prompter.Last().waitCursor);
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^随机测试已取消，只测试了(\\d+)靴；"))
            .match(prompter.Last().text);
    ASSERT_TRUE(m.hasMatch()) << prompter.Last().text;
    const std::int64_t played = m.captured(1).toLongLong();
    EXPECT_GT(played, 0);

    // Run 1's first `played` shoes are the same shoes as a whole test of that many.
    const RandomTestResult expected = RunRandomTest(dlg.m_settings, {1, played, kSeed});
    EXPECT_EQ(Edits(), (QStringList{"1", "2147483647", QString::number(expected.totalWin), "0"}));
    ExpectGridsShow(ReplayedShoe(dlg.m_settings, 1, played));
    EXPECT_EQ(dlg.m_shoe.m_bSimulating, 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// --- parameter search ---

TEST_F(SimulationWindow, CancelAtTheQuestionTouchesNothing) {
    ClickHands("BPBBP");
    const CShoeEngine before = dlg.m_shoe;
    const ShoeSettings settings = dlg.m_settings;
    SetTestRow("2", "3");
    prompter.m_bConfirm = false;

    dlg.SearchParameters();
    ASSERT_EQ(prompter.Count(), 1u);
    EXPECT_TRUE(prompter.Last().question);
    EXPECT_EQ(prompter.Last().caption, QStringLiteral("寻找最优参数"));
    const SearchOptions o = WindowSearch(2, 3);
    EXPECT_EQ(prompter.Last().text,
              QString::fromStdString(SearchQuestionText(o, EstimateSearch(o, kSecondsPerShoe))));
    EXPECT_TRUE(prompter.Last().text.contains(m_dataHome.path() +
                                              QStringLiteral("/nuv/最优参数记录表_292_29.ini")));
    EXPECT_TRUE(QDir(m_dataHome.path()).isEmpty());  // not even the folder
    ExpectGridsShow(before);
    EXPECT_EQ(dlg.m_settings, settings);
    EXPECT_EQ(Edits(), (QStringList{"2", "3", "0", "0"}));
    EXPECT_TRUE(prompter.m_progressShown.isEmpty());
}

// The window writes the ranking file a search with its seed writes, reports the best pair, shows
// the last grid point's test, and leaves the settings and the hive as they were.
TEST_F(SimulationWindow, SearchWritesTheRankingFileOfItsSeed) {
    dlg.m_settings.m_nXXLimitMoney = 2;  // the radii
    dlg.m_settings.m_nSXLimitMoney = 3;
    const ShoeSettings settings = dlg.m_settings;
    const QByteArray hive = Hive();
    ASSERT_FALSE(hive.isEmpty());
    SetTestRow("2", "2");  // with kSeed every pair ranks: six rows to compare

    dlg.SearchParameters();
    const SearchOptions o = WindowSearch(2, 2);
    QTemporaryDir elsewhere;
    SearchOptions direct = o;
    direct.folder = QFile::encodeName(elsewhere.path()).toStdString();
    const SearchResult expected = RunSearch(settings, direct);
    ASSERT_FALSE(expected.cancelled);

    const QByteArray written = ReadBytes(PathText(RankingFilePath(o)));
    EXPECT_EQ(written, ReadBytes(PathText(expected.file)));
    EXPECT_TRUE(written.contains("\n6=")) << "ranking not full: a weak comparison";

    ASSERT_EQ(prompter.Count(), 2u);
    EXPECT_EQ(prompter.Last().caption, QStringLiteral("完成 寻找最优参数"));
    EXPECT_EQ(prompter.Last().text, QString::fromStdString(SearchReportText(o, expected)));
    EXPECT_FALSE(prompter.Last().waitCursor);
    EXPECT_EQ(dlg.m_settings, settings);  // W0 and L0 are back
    EXPECT_EQ(Hive(), hive);

    // The test edits and the grids show the last grid point: W0 + 2 and L0 - 3.
    ASSERT_EQ(expected.lastWin, 31);
    ASSERT_EQ(expected.lastLoss, 289);
    EXPECT_EQ(Edits(), (QStringList{"2", "2", QString::number(expected.lastTest.totalWin),
                                    QString::number(expected.lastTest.firstLossRun)}));
    ShoeSettings last = settings;
    last.m_nWinStopMoney = expected.lastWin;
    last.m_nLossStopMoney = expected.lastLoss;
    ExpectGridsShow(ReplayedShoe(last, expected.lastTest.lastRun, expected.lastTest.lastShoe));
    EXPECT_EQ(dlg.m_shoe.m_bSimulating, 0);
}

// The ranking file that cannot be written is reported with its path and the reason; the search
// still reports its best pair.
TEST_F(SimulationWindow, UnwritableRankingFileIsReported) {
    dlg.m_settings.m_nXXLimitMoney = 1;
    dlg.m_settings.m_nSXLimitMoney = 1;
    struct Case {
        const char* name;
        QString dataHome;  // relative to the temporary data home
        QString blocker;   // a folder made where a file is expected, or a file where a folder is
        bool blockerIsFolder;
        QString reported;  // the path the message names
        QString reason;
    };
    const QString file = QStringLiteral("最优参数记录表_292_29.ini");
    const Case cases[] = {
        {"data home is a plain file", "plain", "plain", false, "plain/nuv", "Not a directory"},
        {"a folder has the file's name", "home", "home/nuv/" + file, true, "home/nuv/" + file,
         "Is a directory"},
    };
    const QDir root(m_dataHome.path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.blockerIsFolder) {
            ASSERT_TRUE(root.mkpath(c.blocker));
        } else {
            QFile plain(root.filePath(c.blocker));
            ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
        }
        qputenv("XDG_DATA_HOME", QFile::encodeName(root.filePath(c.dataHome)));
        prompter.Clear();

        dlg.SearchParameters();
        ASSERT_EQ(prompter.Count(), 3u);  // question, failure, report
        const auto& failure = prompter.At(1);
        EXPECT_EQ(failure.caption, QStringLiteral("寻找最优参数"));
        EXPECT_EQ(failure.icon, CPrompter::Icon::Warning);
        EXPECT_EQ(
            failure.text,
            QStringLiteral("测试结果没有保存到“%1”：%2").arg(root.filePath(c.reported), c.reason));
        EXPECT_EQ(prompter.Last().caption, QStringLiteral("完成 寻找最优参数"));
    }
}

// A search far too long to finish is cancelled from its progress box: it says so, and its file
// is what the same search stopped after the same grid points writes.
TEST_F(SimulationWindow, CancelledSearchKeepsTheFileAsFarAsItGot) {
    const ShoeSettings settings = dlg.m_settings;  // radii 200 and 20000: 16,040,401 points
    SetTestRow("1", "1");
    prompter.m_nCancelAtUpdate = 1;

    dlg.SearchParameters();
    EXPECT_EQ(prompter.m_progressShown,
              QStringList{QStringLiteral("寻找最优参数|正在寻找最优参数……")});
    ASSERT_EQ(prompter.Count(), 2u);
    EXPECT_EQ(prompter.Last().caption, QStringLiteral("寻找最优参数"));
    const SearchOptions o = WindowSearch(1, 1);
    const QRegularExpressionMatch m =
        QRegularExpression(
            QStringLiteral("^寻找最优参数已取消，只测试了16040401组参数中的(\\d+)组，"
                           "“(.*)”只记录了这些组。\n\n"))
            .match(prompter.Last().text);
    ASSERT_TRUE(m.hasMatch()) << prompter.Last().text;
    const std::int64_t done = m.captured(1).toLongLong();
    EXPECT_EQ(m.captured(2), PathText(RankingFilePath(o)));

    QTemporaryDir elsewhere;
    SearchOptions direct = o;
    direct.folder = QFile::encodeName(elsewhere.path()).toStdString();
    const SearchResult expected = RunSearch(settings, direct, [&](double fraction) {
        return std::llround(fraction * 16040401.0) < done;
    });
    ASSERT_EQ(expected.pointsDone, done);
    EXPECT_EQ(ReadBytes(PathText(RankingFilePath(o))), ReadBytes(PathText(expected.file)));
    EXPECT_TRUE(
        prompter.Last().text.endsWith(QString::fromStdString(SearchReportText(o, expected))));
    EXPECT_EQ(dlg.m_settings, settings);
    EXPECT_EQ(Edits(), (QStringList{"1", "1", QString::number(expected.lastTest.totalWin),
                                    QString::number(expected.lastTest.firstLossRun)}));
    EXPECT_EQ(dlg.m_shoe.m_bSimulating, 0);
}

}  // namespace

TEST_F(SimulationWindow, SearchEstimateUsesTheMeasuredSpeed) {
    // With the default limits as radii the grid has 16040401 points: at a microsecond a shoe the
    // question announces about a quarter of a minute, not the 13367 minutes of 0.05 s a shoe.
    prompter.m_bConfirm = false;
    dlg.SearchParameters();
    ASSERT_EQ(prompter.Count(), 1u);
    EXPECT_TRUE(
        prompter.Last().text.contains(QStringLiteral("总靴数为 16040401靴，预计耗时0.27分钟")))
        << prompter.Last().text;

    // The real sample gives a figure of this machine, far below the traditional one.
    const double measured = MeasureSecondsPerShoe(ShoeSettings{}, 1, std::chrono::milliseconds(5));
    EXPECT_GT(measured, 0.0);
    EXPECT_LT(measured, 0.05);
}
