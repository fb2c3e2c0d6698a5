#include "settings/ConfigDlg.h"

#include <QCheckBox>
#include <QPushButton>

#include "dialogs/Ddx.h"
#include "dialogs/Prompter.h"
#include "ui_ConfigDlg.h"

namespace {

// The preset win-stop/stop-loss pairs the plan button cycles through, with its caption for each.
struct Plan {
    std::uint32_t winStop;
    std::uint32_t lossStop;
    const char16_t* caption;
};
constexpr Plan kPlans[] = {
    {29, 292, u"备用方案1"},
    {26, 200, u"备用方案2"},
    {30, 107, u"备用方案3"},
};
constexpr int kPlanCount = static_cast<int>(std::size(kPlans));

// The after-stop mode is the state of a three-state box: 0 unchecked, 1 checked,
// 2 indeterminate. Qt numbers the states differently (1 is partial, 2 is checked), so they are
// mapped by name. A stored mode outside 0..2 acts as 0 in the engine, and the box shows it so.
Qt::CheckState StateOfMode(std::uint32_t mode) {
    switch (mode) {
        case 1:
            return Qt::Checked;
        case 2:
            return Qt::PartiallyChecked;
        default:
            return Qt::Unchecked;
    }
}

std::uint32_t ModeOfState(Qt::CheckState state) {
    switch (state) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        default:
            return 0;
    }
}

QString CaptionOfMode(std::uint32_t mode) {
    switch (mode) {
        case 1:
            return QStringLiteral("赢停后仅仅追押长龙");
        case 2:
            return QStringLiteral("赢停后追押所有路数");
        default:
            return QStringLiteral("赢停后立即停止");
    }
}

}  // namespace

CConfigDlg::CConfigDlg(QWidget* parent, CPrompter* prompter)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::CConfigDlg>()),
      m_pPrompter(prompter ? prompter : &DefaultPrompter()) {
    m_ui->setupUi(this);
    // A fixed-size modal frame with a caption and a close box only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(size());

    m_btnPlan = m_ui->m_btnPlan;
    m_chkAfterWinStop = m_ui->m_chkAfterWinStop;
    m_chkMaxStake = m_ui->m_chkMaxStake;

    connect(m_ui->btnDefault, &QPushButton::clicked, this, &CConfigDlg::OnDefaultPlan);
    connect(m_btnPlan, &QPushButton::clicked, this, &CConfigDlg::OnNextPlan);
    connect(m_chkAfterWinStop, &QCheckBox::clicked, this, &CConfigDlg::OnAfterWinStopClicked);
    connect(m_ui->btnOk, &QPushButton::clicked, this, &CConfigDlg::accept);
    connect(m_ui->btnCancel, &QPushButton::clicked, this, &CConfigDlg::reject);
}

CConfigDlg::~CConfigDlg() = default;

void CConfigDlg::setVisible(bool visible) {
    if (visible && !m_bInitialised) {
        m_bInitialised = true;
        OnInitDialog();
    }
    QDialog::setVisible(visible);
}

void CConfigDlg::OnInitDialog() {
    UpdateData(false);
    m_chkAfterWinStop->setCheckState(StateOfMode(m_nAfterWinStop));
    OnAfterWinStopClicked();
    m_btnPlan->setFocus(Qt::OtherFocusReason);
}

bool CConfigDlg::UpdateData(bool saveAndValidate) {
    Ui::CConfigDlg& ui = *m_ui;
    CPrompter& prompter = *m_pPrompter;
    if (saveAndValidate) {
        return DdxReadUInt(*ui.m_editWinStopMoney, m_nWinStopMoney, prompter) &&
               DdxReadUInt(*ui.m_editLossStopMoney, m_nLossStopMoney, prompter) &&
               DdxReadUInt(*ui.m_editWinStopNum, m_nWinStopNum, prompter) &&
               DdxReadUInt(*ui.m_editDangerous1, m_nDangerous1, prompter) &&
               DdxReadUInt(*ui.m_editDangerous2, m_nDangerous2, prompter) &&
               DdxReadUInt(*ui.m_editXXLimitMoney, m_nXXLimitMoney, prompter) &&
               DdxReadUInt(*ui.m_editSXLimitMoney, m_nSXLimitMoney, prompter);
    }
    DdxWriteUInt(*ui.m_editWinStopMoney, m_nWinStopMoney);
    DdxWriteUInt(*ui.m_editLossStopMoney, m_nLossStopMoney);
    DdxWriteUInt(*ui.m_editWinStopNum, m_nWinStopNum);
    DdxWriteUInt(*ui.m_editDangerous1, m_nDangerous1);
    DdxWriteUInt(*ui.m_editDangerous2, m_nDangerous2);
    DdxWriteUInt(*ui.m_editXXLimitMoney, m_nXXLimitMoney);
    DdxWriteUInt(*ui.m_editSXLimitMoney, m_nSXLimitMoney);
    return true;
}

void CConfigDlg::accept() {
    if (UpdateData(true)) QDialog::accept();
}

void CConfigDlg::OnAfterWinStopClicked() {
    m_nAfterWinStop = ModeOfState(m_chkAfterWinStop->checkState());
    m_chkAfterWinStop->setText(CaptionOfMode(m_nAfterWinStop));
}

void CConfigDlg::OnDefaultPlan() {
    m_nXXLimitMoney = 200;
    m_nSXLimitMoney = 20000;
    m_nWinStopMoney = kPlans[0].winStop;
    m_nLossStopMoney = kPlans[0].lossStop;
    m_nWinStopNum = 4;
    m_nDangerous1 = 9;
    m_nDangerous2 = 40;
    m_nAfterWinStop = 0;
    m_chkAfterWinStop->setCheckState(Qt::Unchecked);
    OnAfterWinStopClicked();
    m_btnPlan->setText(QString::fromUtf16(kPlans[0].caption));
    UpdateData(false);
}

void CConfigDlg::OnNextPlan() {
    // The plan is chosen from the members, not from what has been typed into the edits since
    // they were last filled; the typed text is replaced below.
    int next = 0;
    for (int i = 0; i < kPlanCount; ++i) {
        if (m_nWinStopMoney == kPlans[i].winStop && m_nLossStopMoney == kPlans[i].lossStop) {
            next = (i + 1) % kPlanCount;
            break;
        }
    }
    m_nWinStopMoney = kPlans[next].winStop;
    m_nLossStopMoney = kPlans[next].lossStop;
    m_btnPlan->setText(QString::fromUtf16(kPlans[next].caption));
    UpdateData(false);
}
