#pragma once

#include <QFont>
#include <QString>

// The three face names the window asks for. None is installed on Linux; InstallFontSubstitutions
// maps each to an installed CJK face.
inline const QString kFaceLishu = QStringLiteral("隶书");       // cell glyphs and values
inline const QString kFaceKai = QStringLiteral("楷体_GB2312");  // advice and status lines
inline const QString kFaceSong = QStringLiteral("宋体");        // dialogs, the application font

// Maps the three faces to installed Debian CJK faces (Qt takes the first one that is installed)
// and makes 宋体 9 pt the application font. Call once after the QApplication exists and before
// any window is built; without it Qt picks an unpredictable fallback for the Chinese texts.
void InstallFontSubstitutions();

// A font of `tenths` tenths of a point, as the painting code asks for sizes.
QFont PointFont(const QString& face, int tenths);

// `font` itself when `text` drawn with it from the left edge fits `width` pixels; otherwise the
// same face made smaller, half a point at a time, until it fits (or reaches 4 points). Figures
// that would be cut off are drawn smaller instead; whatever fits keeps its size.
QFont FitToWidth(QFont font, const QString& text, int width);
