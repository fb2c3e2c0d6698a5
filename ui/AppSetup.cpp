#include "ui/AppSetup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "dialogs/Product.h"
#include "ui/Fonts.h"

namespace {

// Loads Qt's Chinese translations for the texts Qt itself shows. Without them installed those
// texts stay in English.
void LoadQtTranslations(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return;
    }
    QCoreApplication::installTranslator(translator);
}

}  // namespace

void SetUpApplication(QApplication& app) {
    QCoreApplication::setApplicationName(QStringLiteral("nuv"));
    QCoreApplication::setApplicationVersion(kProductVersion);
    QGuiApplication::setDesktopFileName(QStringLiteral("nuv"));
    LoadQtTranslations(app);
    InstallFontSubstitutions();
}
