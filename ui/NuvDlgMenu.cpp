// The menu of the commands and windows beyond the adviser's own, opened by the header button and by
// a right click, and the road window it opens.
#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

#include "ui/NuvDlg.h"
#include "ui/RoadWnd.h"

namespace {

// Left of the Notes button (473, 30, 57 x 29), as large as it.
constexpr QRect kMenuButtonRect{412, 30, 57, 29};

}  // namespace

void CnuvDlg::CreateMenu() {
    m_pMenu = new QMenu(this);
    m_pMenu->setObjectName(QStringLiteral("menuMain"));

    m_actRoads = new QAction(QStringLiteral("路单"), this);
    m_actRoads->setObjectName(QStringLiteral("actRoads"));
    m_actRoads->setCheckable(true);
    m_actRoads->setShortcut(QKeySequence(Qt::Key_F2));
    connect(m_actRoads, &QAction::toggled, this, &CnuvDlg::ShowRoadWnd);
    addAction(m_actRoads);  // F2 while the main window is active

    // Ctrl+C and Ctrl+V while the main window is active; an edit with the focus keeps them for
    // its own text.
    m_actCopy = new QAction(QStringLiteral("复制牌靴"), this);
    m_actCopy->setObjectName(QStringLiteral("actCopy"));
    m_actCopy->setShortcut(QKeySequence::Copy);
    connect(m_actCopy, &QAction::triggered, this, &CnuvDlg::OnCopyShoe);
    addAction(m_actCopy);
    m_actPaste = new QAction(QStringLiteral("粘贴牌靴"), this);
    m_actPaste->setObjectName(QStringLiteral("actPaste"));
    m_actPaste->setShortcut(QKeySequence::Paste);
    connect(m_actPaste, &QAction::triggered, this, &CnuvDlg::OnPasteShoe);
    addAction(m_actPaste);

    m_pMenu->addAction(m_actRoads);
    m_pMenu->addSeparator();
    m_pMenu->addAction(m_actCopy);
    m_pMenu->addAction(m_actPaste);
    m_pMenu->addSeparator();
    m_pMenu->addAction(m_actAbout);

    m_btnMenu = new QPushButton(QStringLiteral("菜单"), this);
    m_btnMenu->setObjectName(QStringLiteral("btnMenu"));
    m_btnMenu->setAutoDefault(false);
    m_btnMenu->setGeometry(kMenuButtonRect);
    connect(m_btnMenu, &QPushButton::clicked, this, &CnuvDlg::OnMenu);
}

void CnuvDlg::OnMenu() {
    m_pMenu->exec(m_btnMenu->mapToGlobal(QPoint(0, m_btnMenu->height())));
}

void CnuvDlg::ShowRoadWnd(bool show) {
    if (show) {
        if (!m_pRoadWnd) {
            m_pRoadWnd = new CRoadWnd(this);
            m_pRoadWnd->addAction(m_actRoads);  // F2 closes it again from there
            connect(m_pRoadWnd, &CRoadWnd::Closed, m_actRoads,
                    [this] { m_actRoads->setChecked(false); });
        }
        m_pRoadWnd->Follow(m_shoe);
        m_pRoadWnd->ShowBeside(*this);
    } else if (m_pRoadWnd) {
        m_pRoadWnd->hide();
    }
    if (m_actRoads->isChecked() != show) m_actRoads->setChecked(show);
    CRoadWnd::RememberOpen(show);
}

void CnuvDlg::ResultsChanged() {
    if (m_pRoadWnd) m_pRoadWnd->Follow(m_shoe);
}

void CnuvDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The question about the last run's shoe comes once the window is on the screen.
    if (!m_bResumeOffered) {
        m_bResumeOffered = true;
        QTimer::singleShot(0, this, &CnuvDlg::OfferResume);
    }
    if (!event->spontaneous() && !m_actRoads->isChecked() && CRoadWnd::RememberedOpen())
        m_actRoads->setChecked(true);
}
