// The parameter search behind the hidden button "寻找最优参数".
#include "NuvDlg.h"

void CnuvDlg::SearchParameters() {
    // Not built yet.
}
