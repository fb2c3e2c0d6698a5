#pragma once

// What the engine tells the window about a change. Every method does nothing by default, so this
// base class is itself the do-nothing observer that simulations use.
class CShoeObserver {
public:
    enum class Grid { Result, Advice };
    enum class Area {
        AdviceLine,  // the advice line rectangle
        StatusLine,  // the status line rectangle
        Client,      // the whole client area
    };

    virtual ~CShoeObserver() = default;

    // A cell's fields changed: repaint that cell with its background erased.
    virtual void CellChanged(Grid /*grid*/, int /*index*/) {}
    // The dialog's picture beneath advice cell `index` must be repainted too.
    virtual void AdviceCellAreaChanged(int /*index*/) {}
    // A fixed area of the dialog must be repainted.
    virtual void AreaChanged(Area /*area*/) {}
    // Score and yield were recomputed: push the dialog data into the edits.
    virtual void ScoreChanged() {}
    // A hand was refused, or a hand ended the shoe outside a simulation: tell the user.
    virtual void ShoeOver() {}
};
