#pragma once

#include <QString>

// Names the program shows: header band, window title, message box captions, About box.
inline const QString kProductName = QStringLiteral("百家乐投注顾问");
inline const QString kProductVersion = QStringLiteral(NUV_VERSION);

// "百家乐投注顾问 3.1.2", the main window's title.
inline QString ProductTitle() {
    return kProductName + u' ' + kProductVersion;
}
