// The hand commands, Back and Clear, and the keys that give them.
#include "ui/NuvDlg.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/WaitCursor.h"
#include "engine/Side.h"
#include "history/LiveShoe.h"
#include "ui_NuvDlg.h"

void CnuvDlg::OnBanker() {
    EnterHand(SIDE_BANKER);
}

void CnuvDlg::OnPlayer() {
    EnterHand(SIDE_PLAYER);
}

void CnuvDlg::OnTie() {
    EnterHand(SIDE_TIE);
}

void CnuvDlg::EnterHand(int side) {
    const int before = m_shoe.m_nHandCount;
    // Only a hand the engine recorded goes to the journal; a refused one changed nothing.
    m_fnJournalDue = [this, before, side] {
        if (KeepingShoe() && m_shoe.m_nHandCount > before)
            JournalResult(m_pLiveShoe->HandEntered(m_shoe, side));
    };
    m_shoe.RecordHand(side);
    RunJournalDue();
    RecordChanged();
}

void CnuvDlg::OnBack() {
    if (m_shoe.m_nHandCount == 0) return;
    // A bad entry in the test row stops Back before the shoe is touched.
    if (!UpdateData(true)) return;
    CWaitCursor wait;
    m_fnJournalDue = [this] {
        if (KeepingShoe()) JournalResult(m_pLiveShoe->BackDone(m_shoe));
    };
    // The replay runs the hands through the pipeline again, with the settings as they are now;
    // a replayed hand that ends the shoe shows the end-of-shoe message as a click would.
    m_shoe.Back();
    RunJournalDue();
    RecordChanged();
    UpdateData(false);
}

void CnuvDlg::OnClear() {
    if (KeepingShoe()) JournalResult(m_pLiveShoe->Leaving(m_shoe));
    // After a test's shoe, the record holds the player's shoe again from here on.
    if (!m_bResumePending) m_bShoeKept = true;
    m_shoe.ResetShoe();
    RecordChanged();
    UpdateData(false);
    m_ui->m_btnConfigure->setEnabled(true);
}

bool CnuvDlg::EnterKey(QKeyEvent* event) {
    // Keys with Alt stay the buttons' mnemonics (Alt+B is Back, plain B is Banker); a held key
    // enters one hand, not one per repeat.
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || event->isAutoRepeat())
        return false;
    if (qobject_cast<QLineEdit*>(QApplication::focusWidget())) return false;
    switch (event->key()) {
        case Qt::Key_Z:
        case Qt::Key_B:
        case Qt::Key_1:
            OnBanker();
            return true;
        case Qt::Key_X:
        case Qt::Key_P:
        case Qt::Key_2:
            OnPlayer();
            return true;
        case Qt::Key_H:
        case Qt::Key_T:
        case Qt::Key_3:
            OnTie();
            return true;
        case Qt::Key_Backspace:
            OnBack();
            return true;
        default:
            return false;
    }
}
