// The random test of the strategy (button "随机测试").
#include "NuvDlg.h"

void CnuvDlg::RunRandomTest() {
    // Not built yet.
}
