// The configuration dialog for the eight settings (button "配置(&A)").
#include "NuvDlg.h"

void CnuvDlg::OnConfigure() {
    // Not built yet.
}
