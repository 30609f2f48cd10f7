#include "editor/clip_settings.h"

#include "editor/page_editor.h"
#include "platform/bitmap.h"
#include "player/compositor_drawing.h"

namespace pimoko {

TClipSettings::TClipSettings(TPageEditor& editor)
    : editor_(editor)
    , view_(NewBitmap24(kPageWidth, kPageHeight))
{
}

void TClipSettings::Open(const ClipRequest& request)
{
    // The pages below cannot change while the window is up: it hides when the editor
    // is used, so the scene is composed once per opening.
    below_ = editor_.PicturesBelowCurrent();
    path_ = request.pictureFile;
    LoadClip();
    transparent_ = request.transparent;
    left_ = request.clipX;
    top_ = request.clipY;
    Draw();
}

void TClipSettings::Click(int x, int y)
{
    LoadClip();
    left_ = x - clip_.width() / 2;
    top_ = y - clip_.height() / 2;
    Draw();
}

void TClipSettings::SetTransparent(bool transparent)
{
    transparent_ = transparent;
    Draw();
}

void TClipSettings::Decide()
{
    editor_.ConfirmClip(left_, top_, transparent_);
}

bool TClipSettings::TakeFirstShow()
{
    const bool first = firstShow_;
    firstShow_ = false;
    return first;
}

void TClipSettings::LoadClip()
{
    QImage picture = LoadPicture(path_);
    if (!picture.isNull())
        clip_ = std::move(picture);
}

void TClipSettings::Draw()
{
    view_ = below_.isNull() ? NewBitmap24(kPageWidth, kPageHeight) : below_.copy();
    if (clip_.isNull())
        return;
    if (transparent_)
        TransparentBlit(view_, left_, top_, clip_);
    else
        CopyBlit(view_, left_, top_, clip_);
}

} // namespace pimoko
