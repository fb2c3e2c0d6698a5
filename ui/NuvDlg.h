#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include <QDialog>
#include <QIcon>
#include <QPixmap>
#include <QRect>
#include <QString>

#include "engine/Settings.h"
#include "engine/ShoeEngine.h"
#include "engine/ShoeObserver.h"
#include "sim/ShoeGame.h"
#include "ui/Layout.h"

class CLiveShoe;
class CPrompter;
class CRecordWnd;
class CRoadWnd;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
struct FileResult;
struct RandomTestResult;

namespace Ui {
class CnuvDlg;
}

// The main window: the row of command buttons, the two grids of cells that show the shoe, the
// advice and status lines painted over the background picture, and the random-test row.
//
// It owns the settings and the shoe engine and is the engine's observer: the engine says which
// cell or area changed and the dialog repaints exactly that. Command handlers live in files of
// their own (NuvDlgHands.cpp, NuvDlgRandomTest.cpp, NuvDlgSnapshot.cpp, NuvDlgConfigure.cpp,
// NuvDlgSearch.cpp); painting is in NuvDlgPaint.cpp; the menu of the extra windows and commands is
// in NuvDlgMenu.cpp.
class CnuvDlg : public QDialog, private CShoeObserver {
    Q_OBJECT

public:
    // Loads the settings and builds the window with an empty shoe. Message boxes go through
    // `prompter` (the real ones when null); it must outlive the dialog.
    explicit CnuvDlg(QWidget* parent = nullptr, CPrompter* prompter = nullptr);
    ~CnuvDlg() override;

    // Exchange between the test row's edits and their members (m_editTestTimes, m_editTestShoes,
    // m_editTotalWin, m_editFirstLossRun in this order). With `saveAndValidate` the edits are read;
    // the first bad entry is reported, gets the focus back, and the call returns false (the edits
    // before it have been stored). Without it the members are written into the edits and the call
    // returns true.
    bool UpdateData(bool saveAndValidate = true);

    // Enter never closes the window (Escape and the close box do).
    void accept() override {}

    // --- data of the dialog ---
    ShoeSettings m_settings;               // the only in-memory copy of the eight settings
    CShoeEngine m_shoe{m_settings, this};  // the shoe record; this dialog is its observer
    std::int32_t m_nTestTimes = 1;         // test runs (m_editTestTimes)
    std::int32_t m_nTestShoes = 1;         // shoes per test run (m_editTestShoes)
    std::int32_t m_nTotalWin = 0;          // units won by the last test (m_editTotalWin)
    std::int32_t m_nFirstLossRun = 0;      // first losing run (m_editFirstLossRun)
    QString m_strSnapshotPath;             // file chosen by the last Save
    // Seed of each random test and search: the clock, unless a test pins it.
    std::function<std::uint64_t()> m_fnSeed = &CnuvDlg::ClockSeed;
    static std::uint64_t ClockSeed();
    // Seconds per shoe for the search's time estimate: a short sample of this machine's speed,
    // unless a test pins it.
    std::function<double(const ShoeSettings&)> m_fnSecondsPerShoe = &CnuvDlg::SampleShoeSpeed;
    static double SampleShoeSpeed(const ShoeSettings& settings);
    const QRect m_rcAdvice = layout::kAdviceRect;
    const QRect m_rcStatus = layout::kStatusRect;

    // The cells on screen, one per cell record; advice slots 0..3 stay null.
    std::array<CRecordWnd*, CShoeEngine::kHands> m_pResultCell{};
    std::array<CRecordWnd*, CShoeEngine::kHands> m_pAdviceCell{};

public slots:
    void OnBanker();
    void OnPlayer();
    void OnTie();
    void OnBack();   // takes the last hand back by replaying the shoe without it
    void OnClear();  // starts a new shoe
    void OnNotes();
    void OnAbout();
    void RunRandomTest();     // m_btnRandomTest "随机测试"
    void OnSave();            // m_btnSave "保存(&S)": snapshot of the window
    void OnConfigure();       // m_btnConfigure "配置(&A)": the settings dialog
    void SearchParameters();  // the hidden m_btnSearch, and the menu
    void OnTimer();           // the snapshot timer fired: write the picture
    // The header's menu button: opens the menu beneath it.
    void OnMenu();
    // Menu item "路单" (F2): opens or closes the road window.
    void ShowRoadWnd(bool show);
    // Ctrl+C: the shoe's letters (Z, X, H) to the clipboard.
    void OnCopyShoe();
    // Ctrl+V: a shoe from the clipboard's letters, in place of the one in the record.
    void OnPasteShoe();
    // Run once after the window is first shown: reports a journal that cannot be kept, and offers
    // the shoe that the journal holds from the last run.
    void OfferResume();
    // Menu item "随机测试：真实牌靴 (8副牌)": the random test and the search deal card shoes
    // instead of tossing a coin. Remembered between starts.
    void SetCardsGame(bool cards);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Reopens the road window when it was left open.
    void showEvent(QShowEvent* event) override;

    CPrompter& Prompter() { return *m_pPrompter; }

private:
    // CShoeObserver: repaint requests and the end-of-shoe notice from the engine.
    void CellChanged(Grid grid, int index) override;
    void AdviceCellAreaChanged(int index) override;
    void AreaChanged(Area area) override;
    void ScoreChanged() override;
    void ShoeOver() override;

    // The record or the settings changed: both lines are painted afresh. Their text depends on
    // more than the engine reports as changed (the stop rules, the settings), so every command
    // that may change either ends here. Changed cells are repainted as the engine reports them.
    void RecordChanged();

    // The Banker, Player and Tie commands.
    void EnterHand(int side);
    // A Z/B/1, X/P/2, H/T/3 or Backspace key press while no edit has the focus: the command it
    // stands for. False for any other key.
    bool EnterKey(QKeyEvent* event);

    // --- the journal of the live shoe and the history (NuvDlgJournal.cpp) ---
    // Opens the journal in the data folder; what it holds is offered once the window is shown.
    void OpenJournal();
    // True while the journal follows the record: it is open here, any offer to resume has been
    // answered, and the record holds the player's shoe, not a test's.
    bool KeepingShoe() const;
    // Writes what a command left to the journal, when one is due. The engine shows the
    // end-of-shoe message from inside the command, so the message runs this first: the hand is
    // on the disk before the message waits for the user.
    void RunJournalDue();
    // Reports a journal or history write that failed, once until one succeeds again.
    void JournalResult(const FileResult& result);
    // A test's last shoe is about to replace the record: the player's shoe leaves it.
    void ShoeReplacedByTest();

    // Captures the client area at the screen's depth and writes it to m_strSnapshotPath.
    void WriteSnapshot();

    void OnInitDialog();
    // Builds the menu and the header button that opens it.
    void CreateMenu();
    // The record's results changed: the road window follows.
    void ResultsChanged();
    void SetButtonBitmaps();
    void CreateCells();
    // Shows a finished random test: its two results in the edits and its last shoe, replayed
    // under the settings it was played with, in the record.
    void ShowTestResult(const ShoeSettings& settings, std::uint64_t seed,
                        const RandomTestResult& result);
    // The game the menu chose for the random test and the search.
    Game TestGame() const;

    // Sets the record's m_bSimulating for as long as a test or search runs, and clears it however
    // the run ends, so that a run that throws does not leave the window refusing every later one.
    class CSimulating {
    public:
        explicit CSimulating(CShoeEngine& shoe) : m_shoe(shoe) { m_shoe.m_bSimulating = 1; }
        ~CSimulating() { m_shoe.m_bSimulating = 0; }
        CSimulating(const CSimulating&) = delete;
        CSimulating& operator=(const CSimulating&) = delete;

    private:
        CShoeEngine& m_shoe;
    };

    std::unique_ptr<Ui::CnuvDlg> m_ui;
    CPrompter* m_pPrompter;
    QAction* m_actAbout = nullptr;       // the About entry of the context menu
    QMenu* m_pMenu = nullptr;            // the commands and windows beyond the adviser's own
    QPushButton* m_btnMenu = nullptr;    // opens m_pMenu, left of the Notes button
    QAction* m_actSearch = nullptr;      // "寻找最优参数…": the hidden button's search
    QAction* m_actRoads = nullptr;       // "路单": the road window, checked while it is open
    QAction* m_actCardsGame = nullptr;   // checked: the random test deals 8-deck card shoes
    QLabel* m_lblMoney = nullptr;        // the money of the last card test, in the foot band
    CRoadWnd* m_pRoadWnd = nullptr;      // made when first opened
    QAction* m_actCopy = nullptr;        // "复制牌靴" (Ctrl+C)
    QAction* m_actPaste = nullptr;       // "粘贴牌靴" (Ctrl+V)
    QTimer* m_pSnapshotTimer = nullptr;  // one-shot delay between Save and the capture
    // The journal and history in the data folder, opened with the window.
    std::unique_ptr<CLiveShoe> m_pLiveShoe;
    int m_nJournalError = 0;        // errno of opening the journal; 0 when it is open
    bool m_bResumeOffered = false;  // OfferResume has been queued
    bool m_bResumePending = false;  // the journal holds a shoe and the user has not answered
    bool m_bShoeKept = true;        // the record holds the player's shoe (not a test's)
    bool m_bJournalTroubleShown = false;
    std::function<void()> m_fnJournalDue;  // the journal write of the command under way
    QIcon m_hIcon;
    QPixmap m_bmpBack;
    QPixmap m_bmpBanker;
    QPixmap m_bmpPlayer;
    QPixmap m_bmpTie;
};
