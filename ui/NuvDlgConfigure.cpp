// The configuration dialog for the eight settings (button "配置(&A)").
#include <cstdint>

#include "ConfigDlg.h"
#include "NuvDlg.h"
#include "SettingsStore.h"

namespace {

// Each setting with its value name, in the order the settings are written after an OK.
struct SettingField {
    const char* name;
    std::int32_t ShoeSettings::*setting;
    std::uint32_t CConfigDlg::*shown;
};
const SettingField kFields[] = {
    {"XXLimitMoney", &ShoeSettings::m_nXXLimitMoney, &CConfigDlg::m_nXXLimitMoney},
    {"SXLimitMoney", &ShoeSettings::m_nSXLimitMoney, &CConfigDlg::m_nSXLimitMoney},
    {"WinStopMoney", &ShoeSettings::m_nWinStopMoney, &CConfigDlg::m_nWinStopMoney},
    {"LossStopMoney", &ShoeSettings::m_nLossStopMoney, &CConfigDlg::m_nLossStopMoney},
    {"WinStopNum", &ShoeSettings::m_nWinStopNum, &CConfigDlg::m_nWinStopNum},
    {"Dangerous1", &ShoeSettings::m_nDangerous1, &CConfigDlg::m_nDangerous1},
    {"Dangerous2", &ShoeSettings::m_nDangerous2, &CConfigDlg::m_nDangerous2},
    {"AfterWinStop", &ShoeSettings::m_nAfterWinStop, &CConfigDlg::m_nAfterWinStop},
};

}  // namespace

void CnuvDlg::OnConfigure() {
    // The dialog edits copies; the 32-bit patterns cross unchanged in both directions, so a
    // negative setting shows as its unsigned value and comes back with the same bits.
    CConfigDlg dlg(this, &Prompter());
    for (const SettingField& f : kFields) {
        dlg.*f.shown = static_cast<std::uint32_t>(m_settings.*f.setting);
    }
    if (dlg.exec() != QDialog::Accepted) return;

    // All eight are written, changed or not. Nothing is recomputed: the engine and the painting
    // read the settings afresh at their next use.
    for (const SettingField& f : kFields) {
        m_settings.*f.setting = static_cast<std::int32_t>(dlg.*f.shown);
    }
    for (const SettingField& f : kFields) {
        WriteSetting(f.name, static_cast<double>(m_settings.*f.setting));
    }
}
