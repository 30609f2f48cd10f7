#pragma once

#include "editor/editor_ports.h"

#include <QImage>
#include <QString>

namespace pimoko {

class TPageEditor;

// The state behind "クリップ設定": the current page's picture placed as a clip on the
// scene the earlier pages leave, by clicks that centre it, with or without its key colour.
// Nothing reaches the page until Decide(); cancelling leaves the page as it was.
class TClipSettings {
public:
    explicit TClipSettings(TPageEditor& editor);

    // The clip's file (resolved, known to exist), position and transparency from the
    // editor: the scene composed, the clip loaded and drawn on it.
    void Open(const ClipRequest& request);
    // A click on the view at (x, y) in page coordinates: the clip centred there.
    void Click(int x, int y);
    // The transparency check box.
    void SetTransparent(bool transparent);
    // "決定": the position and transparency into the page and the editor's working copies.
    void Decide();

    // The 640 x 480 view: the scene with the clip at its position.
    const QImage& View() const { return view_; }
    const QImage& ClipBitmap() const { return clip_; }
    const QString& ClipPath() const { return path_; }
    int ClipLeft() const { return left_; }
    int ClipTop() const { return top_; }
    bool Transparent() const { return transparent_; }

    // True the first time it is asked (the window places itself on its first show).
    bool TakeFirstShow();

private:
    // The clip's picture again from its file; a file that can no longer be read keeps
    // the picture loaded last.
    void LoadClip();
    void Draw();

    TPageEditor& editor_;
    QImage below_; // what the screen holds before the page draws its clip
    QImage clip_;
    QImage view_;
    QString path_;
    int left_ = 0;
    int top_ = 0;
    bool transparent_ = true;
    bool firstShow_ = true;
};

} // namespace pimoko
