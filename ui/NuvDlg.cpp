#include "ui/NuvDlg.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>

#include "dialogs/Ddx.h"
#include "dialogs/Product.h"
#include "dialogs/Prompter.h"
#include "engine/Side.h"
#include "history/LiveShoe.h"
#include "settings/SettingsStore.h"
#include "ui/AboutDlg.h"
#include "ui/Artwork.h"
#include "ui/RecordWnd.h"
#include "ui_NuvDlg.h"

namespace {

// Control ids of the cells, kept as a property so that a cell can be found by its id.
constexpr int kFirstResultCellId = 10001;
constexpr int kFirstAdviceCellId = 20001;

}  // namespace

CnuvDlg::CnuvDlg(QWidget* parent, CPrompter* prompter)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::CnuvDlg>()),
      m_pPrompter(prompter ? prompter : &DefaultPrompter()),
      m_hIcon(AppIcon()) {
    OnInitDialog();
}

CnuvDlg::~CnuvDlg() {
    // The cells go with the widget tree; the engine must not reach them from here on.
    m_shoe.SetObserver(nullptr);
}

void CnuvDlg::OnInitDialog() {
    m_ui->setupUi(this);
    // A window of its own in the taskbar, with a minimise box but no maximise box or sizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    // Linux has no system menu to extend: About is offered in the context menu instead.
    m_actAbout = new QAction(QStringLiteral("关于%1(&A)...").arg(kProductName), this);
    m_actAbout->setObjectName(QStringLiteral("actAbout"));
    connect(m_actAbout, &QAction::triggered, this, &CnuvDlg::OnAbout);
    CreateMenu();
    setWindowIcon(m_hIcon);

    LoadSettings(m_settings);

    // The client area is exactly the background picture.
    m_bmpBack = QPixmap::fromImage(DrawBackground());
    setFixedSize(m_bmpBack.size());
    SetButtonBitmaps();
    CreateCells();

    connect(m_ui->btnBanker, &QPushButton::clicked, this, &CnuvDlg::OnBanker);
    connect(m_ui->btnPlayer, &QPushButton::clicked, this, &CnuvDlg::OnPlayer);
    connect(m_ui->btnTie, &QPushButton::clicked, this, &CnuvDlg::OnTie);
    connect(m_ui->m_btnSave, &QPushButton::clicked, this, &CnuvDlg::OnSave);
    connect(m_ui->btnClear, &QPushButton::clicked, this, &CnuvDlg::OnClear);
    connect(m_ui->m_btnBack, &QPushButton::clicked, this, &CnuvDlg::OnBack);
    connect(m_ui->m_btnRandomTest, &QPushButton::clicked, this, &CnuvDlg::RunRandomTest);
    connect(m_ui->m_btnConfigure, &QPushButton::clicked, this, &CnuvDlg::OnConfigure);
    connect(m_ui->btnNotes, &QPushButton::clicked, this, &CnuvDlg::OnNotes);
    connect(m_ui->m_btnSearch, &QPushButton::clicked, this, &CnuvDlg::SearchParameters);

    m_shoe.ResetShoe();
    UpdateData(false);
    m_ui->m_btnConfigure->setEnabled(true);
    setWindowTitle(ProductTitle());
    m_ui->btnBanker->setFocus(Qt::OtherFocusReason);

    // Hands can be entered from the keyboard too (see EnterKey).
    m_ui->btnBanker->setToolTip(QStringLiteral("庄（按键 Z、B 或 1）"));
    m_ui->btnPlayer->setToolTip(QStringLiteral("闲（按键 X、P 或 2）"));
    m_ui->btnTie->setToolTip(QStringLiteral("和（按键 H、T 或 3）"));
    m_ui->m_btnBack->setToolTip(QStringLiteral("回退（按键 Backspace）"));
    OpenJournal();
}

void CnuvDlg::SetButtonBitmaps() {
    struct Binding {
        QPushButton* button;
        QPixmap* pixmap;
        int side;
    };
    const Binding bindings[] = {{m_ui->btnBanker, &m_bmpBanker, SIDE_BANKER},
                                {m_ui->btnPlayer, &m_bmpPlayer, SIDE_PLAYER},
                                {m_ui->btnTie, &m_bmpTie, SIDE_TIE}};
    for (const Binding& b : bindings) {
        *b.pixmap = QPixmap::fromImage(DrawButtonImage(b.side));
        // The image replaces the caption, which stays the button's accessible name.
        b.button->setAccessibleName(b.button->text());
        b.button->setText(QString());
        b.button->setIcon(QIcon(*b.pixmap));
        b.button->setIconSize(b.pixmap->size());
    }
}

void CnuvDlg::CreateCells() {
    for (int i = 0; i < CShoeEngine::kHands; ++i) {
        auto* result = new CRecordWnd(m_shoe.m_ResultCell[i], this);
        result->setObjectName(QStringLiteral("resultCell%1").arg(i));
        result->setProperty("controlId", kFirstResultCellId + i);
        result->setGeometry(layout::ResultCell(i));
        result->show();
        m_pResultCell[i] = result;
    }
    int id = kFirstAdviceCellId;
    for (int i = CShoeEngine::kFirstAdvised; i < CShoeEngine::kHands; ++i) {
        auto* advice = new CRecordWnd(m_shoe.m_AdviceCell[i], this);
        advice->setObjectName(QStringLiteral("adviceCell%1").arg(i));
        advice->setProperty("controlId", id++);
        advice->setGeometry(layout::AdviceCell(i));
        advice->show();
        m_pAdviceCell[i] = advice;
    }
}

bool CnuvDlg::UpdateData(bool saveAndValidate) {
    Ui::CnuvDlg& ui = *m_ui;
    if (saveAndValidate) {
        return DdxReadInt(*ui.m_editTestTimes, m_nTestTimes, Prompter()) &&
               DdxReadInt(*ui.m_editTestShoes, m_nTestShoes, Prompter()) &&
               DdxReadInt(*ui.m_editTotalWin, m_nTotalWin, Prompter()) &&
               DdxReadInt(*ui.m_editFirstLossRun, m_nFirstLossRun, Prompter());
    }
    DdxWriteInt(*ui.m_editTestTimes, m_nTestTimes);
    DdxWriteInt(*ui.m_editTestShoes, m_nTestShoes);
    DdxWriteInt(*ui.m_editTotalWin, m_nTotalWin);
    DdxWriteInt(*ui.m_editFirstLossRun, m_nFirstLossRun);
    return true;
}

void CnuvDlg::OnNotes() {
    Prompter().Message(
        this, QStringLiteral("注意事项   战胜自我就是赢的开始！"),
        QStringLiteral("1、必须从一靴牌的第一铺开始，不得中途进入。\n\n"
                       "2、你所选择的上限与下限之间的倍数越大越好，至少要达到100倍，\n\n"
                       "   比如20下限，2000上限。\n\n"
                       "3、你必须至少拥有2倍上限的本金才可以去玩。\n\n"
                       "4、如果你充分理解各个配置参数的重要含义，那么你可以自己改\n\n"
                       "   变这些设置，否则，请使用默认值（先点默认方案，再点确认）。\n\n"
                       "5、一定要制定并严格执行事前方案。\n\n"
                       "6、本软件升级频繁，请大家经常去下载最新版本，或者与我联系。\n\n"
                       "7、欢迎大家群策群力，集思广益，大家有什么好的想法可与我联\n\n"
                       "   系，我可以把它写成软件。"),
        CPrompter::Icon::Warning);
}

void CnuvDlg::OnAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CnuvDlg::keyPressEvent(QKeyEvent* event) {
    if (EnterKey(event)) {
        event->accept();
        return;
    }
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // Enter presses the focused push button, as in any dialog, and is swallowed otherwise.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget());
            button && button->isVisible() && button->isEnabled()) {
            button->click();
        }
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CnuvDlg::contextMenuEvent(QContextMenuEvent* event) {
    m_pMenu->exec(event->globalPos());
}

// --- engine observer ---

void CnuvDlg::CellChanged(Grid grid, int index) {
    auto& cells = grid == Grid::Result ? m_pResultCell : m_pAdviceCell;
    if (index >= 0 && index < CShoeEngine::kHands && cells[index]) cells[index]->update();
    if (grid == Grid::Result) ResultsChanged();
}

void CnuvDlg::AdviceCellAreaChanged(int index) {
    if (index >= CShoeEngine::kFirstAdvised && index < CShoeEngine::kHands) {
        update(layout::AdviceCell(index));
    }
}

void CnuvDlg::AreaChanged(Area area) {
    switch (area) {
        case Area::AdviceLine:
            update(m_rcAdvice);
            break;
        case Area::StatusLine:
            update(m_rcStatus);
            break;
        case Area::Client:
            update();
            break;
    }
}

void CnuvDlg::ScoreChanged() {
    UpdateData(false);
}

void CnuvDlg::RecordChanged() {
    update(m_rcAdvice);
    update(m_rcStatus);
}

void CnuvDlg::ShoeOver() {
    RunJournalDue();
    // The lines say the shoe is over while the message is up, not only after it closes.
    RecordChanged();
    m_ui->m_btnConfigure->setEnabled(true);
    Prompter().Message(this, kProductName,
                       QStringLiteral("本局分析已结束！请按“清除”后换新的一局开始。"),
                       CPrompter::Icon::None);
}
