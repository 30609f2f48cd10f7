#pragma once

#include "platform/canvas.h"
#include "platform/clock.h"
#include "player/compositor_drawing.h"
#include "player/compositor_fade_tables.h"

#include <QImage>
#include <QString>

#include <functional>

namespace pimoko {

// What a fade did, for the caller's log: the number of intermediate pictures drawn, the
// wait per step it ended with (0 becomes 1 on a machine that needed time for the first
// step), the step increment it measured, and whether a stop request ended it early.
struct FadeReport {
    int steps = 0;
    int wait = 0;
    int increment = 1;
    bool stopped = false;
};

struct FadeHooks {
    // Tested before each step; true ends the fade (on its target picture).
    std::function<bool()> stopRequested;
    // Called after each step has been drawn into the viewer picture, and after the final
    // copy: the viewer shows its picture.
    std::function<void()> refresh;
    // Called once when the fade has ended on the target picture: from the event loop, or
    // inside FadeIn when a new fade ends this one.
    std::function<void(const FadeReport&)> done;
};

// The editor window's picture machinery: the back buffer every page picture is built in,
// the fade source, the clip bitmap and the fade tables. The viewer picture belongs to the
// viewer and is handed in; the compositor draws into it but never replaces it.
class Compositor {
public:
    explicit Compositor(Clock& clock);
    ~Compositor();
    Compositor(const Compositor&) = delete;
    Compositor& operator=(const Compositor&) = delete;

    // The viewer's 640 x 480 picture (Format_BGR888). Not owned; must outlive the use.
    void SetViewerPicture(QImage* picture);
    QImage* ViewerPicture() const { return viewer_; }

    QImage& BackBuffer() { return backBuffer_; }
    const QImage& BackBuffer() const { return backBuffer_; }
    const QImage& FadeSource() const { return fadeSource_; }
    const QImage& ClipBitmap() const { return clip_; }
    const FadeTables& Tables() const { return tables_; }

    // Bare media names are taken from this folder (the book's folder).
    void SetBookFolder(const QString& folder) { bookFolder_ = folder; }
    const QString& BookFolder() const { return bookFolder_; }
    QString ResolvePath(const QString& name) const;

    // Back buffer = black with the picture centred on it (black for a missing file, a
    // broken one, or an extension other than ".bmp" and ".jpg").
    void LoadPictureToBackBuffer(const QString& file);
    void FillBackBuffer(ColorRef color);
    // Loads the clip into the clip bitmap and draws it at (x, y) onto the back buffer,
    // leaving out its key colour when transparent. Nothing when the file cannot be used.
    void DrawClip(const QString& file, int x, int y, bool transparent);
    // The back buffer copied onto the viewer picture. The caller refreshes the screen.
    void PresentBackBuffer();

    // Starts fading the viewer picture into the back buffer over 99 steps of effectWait
    // milliseconds; returns true at once. The steps run from the event loop through the
    // clock; the fade always ends on an exact copy of the back buffer, then calls
    // hooks.done. A fade still running is ended first (on its target, stopped).
    bool FadeIn(int effectWait, FadeHooks hooks);
    bool IsFading() const { return fade_ != nullptr; }
    // Ends the running fade on its next turn of the event loop, as a stop request would.
    void StopFade();
    // Ends the running fade now and forgets it: none of its hooks run, nothing of it is
    // drawn later. With showTarget the viewer picture gets the target, as at the end of
    // every fade; the caller refreshes the screen.
    void AbandonFade(bool showTarget);

    // Viewer picture, back buffer and fade source black. The viewer clears its link areas
    // and refreshes the screen itself.
    void BlankViewer();

private:
    struct Fade;
    void FadeStep();
    void FadeAfterWait();
    void FinishFade(bool stopped);
    QImage& Viewer();

    Clock& clock_;
    FadeTables tables_;
    QImage backBuffer_;
    QImage fadeSource_;
    QImage clip_;
    QImage ownViewer_; // stands in until the viewer hands its picture in
    QImage* viewer_ = nullptr;
    QString bookFolder_;
    Fade* fade_ = nullptr;
};

} // namespace pimoko
