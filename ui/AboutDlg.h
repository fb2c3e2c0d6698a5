#pragma once

#include <memory>

#include <QDialog>

namespace Ui {
class CAboutDlg;
}

// The About box: product name and version, a rights line and where the README is.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    ~CAboutDlg() override;

    // The installed README beside the running program, else where installing puts it.
    static QString ReadmePath();

private:
    std::unique_ptr<Ui::CAboutDlg> m_ui;
};
