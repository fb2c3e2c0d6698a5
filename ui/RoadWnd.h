#pragma once

#include <QColor>
#include <QRect>
#include <QWidget>

#include "roads/ShoeRoads.h"

class CShoeEngine;
class QTimer;

// The road window "路单": the shoe as the scoreboards at the tables draw it (the bead plate, the
// big road, the big eye boy, the small road and the cockroach pig), what each derived road would
// show after a banker or a player hand, and the counts. A window of its own beside the main
// window, never modal; it keeps its own roads and follows the shoe record when told to.
class CRoadWnd : public QWidget {
    Q_OBJECT

public:
    enum class Road { Bead, Big, BigEyeBoy, Small, Cockroach };

    // Colours as at the tables.
    static QColor BankerColour() { return {255, 0, 0}; }
    static QColor PlayerColour() { return {0, 0, 255}; }
    static QColor TieColour() { return {31, 150, 0}; }

    explicit CRoadWnd(QWidget* parent);
    // Remembers where the window stood, if that changed.
    ~CRoadWnd() override;

    // Brings the roads up to the hands in the record's result cells: the new hands are added,
    // and any other change (Back, Clear, a replay) rebuilds them.
    void Follow(const CShoeEngine& shoe);
    const CShoeRoads& Roads() const { return m_roads; }

    // Shows the window where it stood last time, or beside `owner` when it has no place yet or
    // that place is on no screen.
    void ShowBeside(const QWidget& owner);

    // Where a window of frame `size` goes beside the frame `owner` on `screen` (its available
    // area): right of it, else left of it, else as near the right as the screen allows.
    static QPoint PlaceBeside(const QRect& owner, const QSize& size, const QRect& screen);

    // Whether the window was open when the program last ran; and remembering that it is now.
    static bool RememberedOpen();
    static void RememberOpen(bool open);

    // Where the drawn cell (column, row) of `road` is painted; empty when that column is
    // scrolled out of view (the newest columns are always shown).
    QRect CellRect(Road road, int column, int row) const;
    // Where the preview mark of derived road `k` for a `side` hand next is painted.
    QRect PreviewRect(int side, int k) const;

signals:
    // The user closed the window.
    void Closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    // Writes the position into the hive when it differs from the stored one.
    void SavePosition();

    CShoeRoads m_roads;
    QTimer* m_pSaveTimer;    // a move is saved once the window has come to rest
    bool m_bPlaced = false;  // shown at least once, so its position means something
};
