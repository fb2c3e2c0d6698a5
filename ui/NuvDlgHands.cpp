// The hand commands, Back and Clear.
#include "ui/NuvDlg.h"

#include <QPushButton>

#include "dialogs/WaitCursor.h"
#include "engine/Side.h"
#include "ui_NuvDlg.h"

void CnuvDlg::OnBanker() {
    m_shoe.RecordHand(SIDE_BANKER);
    RecordChanged();
}

void CnuvDlg::OnPlayer() {
    m_shoe.RecordHand(SIDE_PLAYER);
    RecordChanged();
}

void CnuvDlg::OnTie() {
    m_shoe.RecordHand(SIDE_TIE);
    RecordChanged();
}

void CnuvDlg::OnBack() {
    if (m_shoe.m_nHandCount == 0) return;
    // A bad entry in the test row stops Back before the shoe is touched.
    if (!UpdateData(true)) return;
    CWaitCursor wait;
    // The replay runs the hands through the pipeline again, with the settings as they are now;
    // a replayed hand that ends the shoe shows the end-of-shoe message as a click would.
    m_shoe.Back();
    RecordChanged();
    UpdateData(false);
}

void CnuvDlg::OnClear() {
    m_shoe.ResetShoe();
    RecordChanged();
    UpdateData(false);
    m_ui->m_btnConfigure->setEnabled(true);
}
