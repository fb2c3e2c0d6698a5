#include "NuvApp.h"

#include "AppSetup.h"
#include "NuvDlg.h"

CnuvApp::CnuvApp(int& argc, char** argv) : QApplication(argc, argv) {}

bool CnuvApp::InitInstance() {
    SetUpApplication(*this);

    CnuvDlg dlg;
    dlg.exec();
    return false;
}
