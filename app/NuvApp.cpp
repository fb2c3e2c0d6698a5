#include "app/NuvApp.h"

#include "ui/AppSetup.h"
#include "ui/NuvDlg.h"

CnuvApp::CnuvApp(int& argc, char** argv) : QApplication(argc, argv) {}

bool CnuvApp::InitInstance() {
    SetUpApplication(*this);

    CnuvDlg dlg;
    dlg.exec();
    return false;
}
