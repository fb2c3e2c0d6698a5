#pragma once

#include <cstdint>
#include <memory>

#include <QDialog>

class CPrompter;
class QCheckBox;
class QPushButton;

namespace Ui {
class CConfigDlg;
}

// The modal dialog that edits the eight settings (button "配置(&A)" of the main window).
//
// The caller fills the public value members, runs exec() and reads them back after an OK. The
// members are unsigned: a setting holding a negative number is shown as its 32-bit pattern, and
// that pattern comes back unchanged. OK reads the seven edits in exchange order and ends the
// dialog only when all of them hold an unsigned decimal number; Cancel, Escape and the close box
// read nothing. Enter presses the focused push button, and from an edit it presses OK.
class CConfigDlg : public QDialog {
    Q_OBJECT

public:
    // Message boxes of the data exchange go through `prompter` (the real ones when null); it must
    // outlive the dialog.
    explicit CConfigDlg(QWidget* parent = nullptr, CPrompter* prompter = nullptr);
    ~CConfigDlg() override;

    // Exchange between the seven edits and their members. With `saveAndValidate` the edits are
    // read in the order win-stop, stop-loss, won cycles, alarm, danger, minimum, maximum; the
    // first bad entry is reported, gets the focus back and the call returns false, with the
    // edits before it already stored. Without it the members are written into the edits.
    bool UpdateData(bool saveAndValidate = true);

    // OK: the edits are read into the members, and the dialog ends only if all of them parse.
    void accept() override;
    // Runs OnInitDialog the first time the dialog is shown, when the members have been filled.
    void setVisible(bool visible) override;

    // --- the eight settings as the dialog holds them ---
    std::uint32_t m_nXXLimitMoney = 200;    // table minimum, yuan
    std::uint32_t m_nSXLimitMoney = 20000;  // table maximum, yuan
    std::uint32_t m_nWinStopMoney = 29;     // win-stop, units
    std::uint32_t m_nLossStopMoney = 292;   // stop-loss, units
    std::uint32_t m_nWinStopNum = 4;        // won cycles that end the shoe
    std::uint32_t m_nDangerous1 = 9;        // alarm hand count
    std::uint32_t m_nDangerous2 = 40;       // danger hand count
    std::uint32_t m_nAfterWinStop = 0;      // after-stop mode, the state of m_chkAfterWinStop

public slots:
    void OnDefaultPlan();          // "默认方案": every setting back to its default
    void OnNextPlan();             // the plan button: the next preset win-stop/stop-loss pair
    void OnAfterWinStopClicked();  // takes the mode from the check box and sets its caption

private:
    void OnInitDialog();

    std::unique_ptr<Ui::CConfigDlg> m_ui;
    CPrompter* m_pPrompter;
    bool m_bInitialised = false;
    QPushButton* m_btnPlan;
    QCheckBox* m_chkAfterWinStop;
    QCheckBox* m_chkMaxStake;  // shown only, bound to no value
};
