// Save: a picture of the window's client area written to a bitmap file (button "保存(&S)").
#include "NuvDlg.h"

void CnuvDlg::OnSave() {
    // Not built yet.
}
