// The surface a player tool draws its picture into (its window id goes to the tool):
// a native window of its own, used by the player window and the options dialog's
// preview alike. While the tool draws there, Qt paints nothing into it, so a note or
// rectangle going away over a paused picture leaves the picture whole (the tool
// redraws what comes uncovered). Otherwise it shows its palette's window colour all
// over, which also wipes a picture or a note the tool left behind.
#pragma once

#include <QWidget>

class VideoSurface : public QWidget {
public:
    explicit VideoSurface(QWidget *parent = nullptr);

    // Whether the tool draws here: true once a source with a picture is handed to it,
    // false when it stopped or plays sound only. Going back to false repaints it all.
    void setToolDraws(bool on);
    bool toolDraws() const { return toolDraws_; }

    // While the tool draws, the surface is painted on screen with no paint engine:
    // Qt neither paints nor flushes anything into it.
    QPaintEngine *paintEngine() const override { return nullptr; }

    // Makes w, a child of the surface, a window stacked above the tool's picture: the
    // picture is clipped round it instead of painting over it, and the mouse goes
    // through it to the surface.
    static void makeOverlay(QWidget *w);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool toolDraws_ = false;
};
