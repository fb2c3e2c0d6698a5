// The configuration dialog for the eight settings (button "配置(&A)").
#include <array>
#include <cstdint>

#include "settings/ConfigDlg.h"
#include "settings/SettingsStore.h"
#include "ui/NuvDlg.h"

namespace {

// The dialog's field of each setting, in the order of kSettingSlots.
constexpr std::array<std::uint32_t CConfigDlg::*, kSettingSlots.size()> kShown = {
    &CConfigDlg::m_nXXLimitMoney,  &CConfigDlg::m_nSXLimitMoney, &CConfigDlg::m_nWinStopMoney,
    &CConfigDlg::m_nLossStopMoney, &CConfigDlg::m_nWinStopNum,   &CConfigDlg::m_nDangerous1,
    &CConfigDlg::m_nDangerous2,    &CConfigDlg::m_nAfterWinStop,
};

}  // namespace

void CnuvDlg::OnConfigure() {
    // The dialog edits copies; the 32-bit patterns cross unchanged in both directions, so a
    // negative setting shows as its unsigned value and comes back with the same bits.
    CConfigDlg dlg(this, &Prompter());
    for (std::size_t i = 0; i < kSettingSlots.size(); ++i) {
        dlg.*kShown[i] = static_cast<std::uint32_t>(m_settings.*kSettingSlots[i].member);
    }
    if (dlg.exec() != QDialog::Accepted) return;

    // All eight are written, changed or not. Nothing is recomputed: the engine and the painting
    // read the settings afresh at their next use, which the repaint below brings about.
    for (std::size_t i = 0; i < kSettingSlots.size(); ++i) {
        m_settings.*kSettingSlots[i].member = static_cast<std::int32_t>(dlg.*kShown[i]);
    }
    for (const SettingSlot& slot : kSettingSlots) {
        WriteSetting(slot.name, static_cast<double>(m_settings.*slot.member));
    }
    // New limits or stop rules may end or reopen the shoe, and change the amounts advised.
    RecordChanged();
}
