#include "NuvApp.h"

#include "Fonts.h"
#include "NuvDlg.h"
#include "Product.h"

CnuvApp::CnuvApp(int& argc, char** argv) : QApplication(argc, argv) {}

bool CnuvApp::InitInstance() {
    setApplicationName(QStringLiteral("nuv"));
    setApplicationDisplayName(kProductName);
    setApplicationVersion(kProductVersion);
    setDesktopFileName(QStringLiteral("nuv"));
    InstallFontSubstitutions();

    CnuvDlg dlg;
    dlg.exec();
    return false;
}
