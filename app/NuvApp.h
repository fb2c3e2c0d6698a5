#pragma once

#include <QApplication>

// The application: sets up fonts and names, runs the main window modally, and ends the program
// when the window closes. Nothing is saved at exit.
class CnuvApp : public QApplication {
    Q_OBJECT

public:
    CnuvApp(int& argc, char** argv);

    // Runs the main window until it closes; returns false, as there is no event loop after it.
    bool InitInstance();
};
