#include "Fonts.h"

#include <QGuiApplication>
#include <QStringList>

void InstallFontSubstitutions() {
    // Debian has no clerical-script face, so 隶书 falls back to the Kai faces as well.
    const QStringList kai = {QStringLiteral("AR PL KaitiM GB"), QStringLiteral("AR PL UKai CN"),
                             QStringLiteral("AR PL UKai TW")};
    const QStringList song = {QStringLiteral("AR PL SungtiL GB"), QStringLiteral("AR PL UMing CN"),
                              QStringLiteral("AR PL UMing TW")};
    QFont::insertSubstitutions(kFaceLishu, kai);
    QFont::insertSubstitutions(kFaceKai, kai);
    QFont::insertSubstitutions(kFaceSong, song);
    QGuiApplication::setFont(PointFont(kFaceSong, 90));
}

QFont PointFont(const QString& face, int tenths) {
    QFont font(face);
    font.setPointSizeF(tenths / 10.0);
    return font;
}
