#include "ui/Fonts.h"

#include <algorithm>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QRect>
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

QFont FitToWidth(QFont font, const QString& text, int width) {
    constexpr double kSmallest = 4.0;
    auto fits = [&](const QFont& f) {
        // The advance, and the ink where a glyph reaches past it.
        const QFontMetrics metrics(f);
        const QRect ink = metrics.boundingRect(text);
        return metrics.horizontalAdvance(text) <= width && ink.left() >= 0 && ink.right() < width;
    };
    while (!fits(font) && font.pointSizeF() > kSmallest) {
        font.setPointSizeF(std::max(kSmallest, font.pointSizeF() - 0.5));
    }
    return font;
}

QFont PointFont(const QString& face, int tenths) {
    QFont font(face);
    font.setPointSizeF(tenths / 10.0);
    return font;
}
