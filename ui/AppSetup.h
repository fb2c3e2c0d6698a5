#pragma once

class QApplication;

// What every start of the desktop program sets up before a window is built: the application's
// names, Qt's own texts in Chinese (the buttons of message boxes, the file dialog) and the font
// substitutions. No display name is set: Qt would append it to every window caption.
void SetUpApplication(QApplication& app);
