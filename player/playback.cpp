#include "player/playback.h"

#include "book/novel_page.h"
#include "book/open_book.h"
#include "book/page_limits.h"
#include "platform/sjis_codec.h"
#include "player/compositor.h"
#include "player/viewer_state.h"
#include "text/font_table.h"
#include "text/text_shot_b.h"

#include <cstdlib>
#include <cstring>

namespace pimoko {

TPlayback::TPlayback(const PlaybackParts& parts)
    : parts_(parts)
    , stepper_(parts.text, parts.clock)
    , backCanvas_(&parts.compositor.BackBuffer())
{
    parts_.compositor.SetViewerPicture(&parts_.viewer.Picture());
}

TPlayback::~TPlayback()
{
    stepper_.Cancel();
    // The viewer's picture may be gone already: the fade is dropped without a last copy.
    parts_.compositor.AbandonFade(false);
}

void TPlayback::Abandon()
{
    stepper_.Cancel();
    ++fadeSerial_;
    if (parts_.compositor.IsFading()) {
        // Ended here and now: a copy left for later would land on the next page's picture.
        parts_.compositor.AbandonFade(true);
        parts_.screen.RepaintPicture();
    }
    pagePending_ = false;
}

void TPlayback::RequestStop()
{
    parts_.busy.RequestStop();
    // The fade's wait between steps does not hold the stop.
    if (pagePending_ && parts_.compositor.IsFading())
        parts_.compositor.StopFade();
}

int TPlayback::LinkPageOf(int page) const
{
    if (page < 1 || page > kMaxPages)
        return -1;
    const int link = parts_.book.Page(page).LinkPage;
    return link >= 1 && link <= kMaxPages ? link : -1;
}

void TPlayback::StartPlaying()
{
    if (!parts_.busy.TryTake())
        return;
    const auto change = parts_.viewer.ApplyScreenMode(parts_.editing.WantsFullScreen());
    if (change != TViewerState::ScreenChange::None) {
        parts_.screen.HideTitleList();
        parts_.screen.ApplyScreenLayout(change);
    }
    const QString title = parts_.editing.BookTitle();
    parts_.viewer.caption = SjisDisplayText(title.isEmpty() ? parts_.book.BookTitle : title);
    parts_.screen.ViewerStateChanged();
    parts_.editing.StorePage();
    nextPageGoto_ = 0;
    nextPagePeriod_ = false;
    parts_.viewer.Links().ClearLinkAreas();
    parts_.compositor.SetBookFolder(parts_.book.BookFolder);
    parts_.text.SetRotatedChars(parts_.book.Escapement);
    int n = parts_.book.CurrentPage;
    if (n < 1 || n > kMaxPages)
        n = parts_.book.CurrentPage = 1;
    PlayPage(n);
}

bool TPlayback::PlayPage(int n)
{
    playingPage_ = n;
    const TNovelPage& p = parts_.book.Page(n);
    observer_->OnPage(n, p.InUse);
    if (!p.InUse) {
        parts_.slider.EnableSlider(true);
        parts_.busy.Release();
        pagePending_ = false;
        Wait();
        return false;
    }
    pagePending_ = true;
    parts_.editing.MinimiseEditorWindows();
    parts_.viewer.visible = true;
    parts_.viewer.goOnVisible = false;
    parts_.screen.ShowViewer();
    parts_.screen.ViewerStateChanged();
    parts_.busy.ClearStop();

    if (p.SoundStop)
        StopSounds();
    else if (!p.SoundFile.isEmpty())
        PlaySound(p.SoundFile, p.SoundLoop);

    Compositor& c = parts_.compositor;
    if (!p.ClipMode) {
        bool drawn = false;
        if (!p.PictureFile.isEmpty()) {
            c.LoadPictureToBackBuffer(p.PictureFile);
            observer_->OnPicture(
                PlaybackObserver::PictureKind::Load, c.ResolvePath(p.PictureFile), 0);
            drawn = true;
        } else if (p.FillImage) {
            c.FillBackBuffer(static_cast<ColorRef>(p.FillColor));
            observer_->OnPicture(
                PlaybackObserver::PictureKind::Fill, QString(), static_cast<ColorRef>(p.FillColor));
            drawn = true;
        }
        if (drawn) {
            // The picture is about to change under any frame drawn on it.
            parts_.viewer.Links().ClearLinkAreas();
            if (!p.DrawToBackBuffer) {
                ShowBackBuffer(p, p.PicEffect != 0, &TPlayback::ContinuePlayPage);
                return true;
            }
        }
    } else {
        c.DrawClip(p.PictureFile, p.ClipX, p.ClipY, p.ClipTransparent);
        observer_->OnPicture(PlaybackObserver::PictureKind::Clip, c.ResolvePath(p.PictureFile), 0);
        if (!p.DrawToBackBuffer) {
            ShowBackBuffer(p, p.PicEffect != 0, &TPlayback::ContinuePlayPage);
            return true;
        }
    }
    ContinuePlayPage();
    return true;
}

void TPlayback::ShowBackBuffer(const TNovelPage& page, bool fade, void (TPlayback::*then)())
{
    if (!fade) {
        PresentBackBuffer();
        (this->*then)();
        return;
    }
    const int wait = page.EffectWait;
    observer_->OnFadeBegin(wait);
    const int serial = ++fadeSerial_;
    const std::weak_ptr<int> life = life_;
    FadeHooks hooks;
    hooks.stopRequested = [this, life] { return life.expired() || parts_.busy.StopRequested(); };
    hooks.refresh = [this, life] {
        if (!life.expired())
            parts_.screen.RepaintPicture();
    };
    hooks.done = [this, life, serial, then](const FadeReport& report) {
        if (life.expired() || serial != fadeSerial_)
            return;
        observer_->OnFadeEnd(report);
        if (pagePending_)
            (this->*then)();
    };
    parts_.compositor.FadeIn(wait, std::move(hooks));
}

void TPlayback::ContinuePlayPage()
{
    const TNovelPage& p = parts_.book.Page(playingPage_);
    SetUpText(p);
    StartTyping();
}

void TPlayback::SetUpText(const TNovelPage& p)
{
    TTextShotB& text = parts_.text;
    const bool toBackBuffer = p.DrawToBackBuffer || p.WriteAll;
    Canvas& target = toBackBuffer ? backCanvas_ : parts_.viewer.PictureCanvas();
    backCanvas_.SetImage(&parts_.compositor.BackBuffer());

    target.SetFont(PageTextFont(p));
    text.SetTargetBitmap(&target);

    text.SetOrigin(p.TextX, p.TextY);
    text.SetText(p.TextLines);
    text.SetDeferredComposite(p.DrawToBackBuffer);
    if (p.Shadow)
        text.SetShadowOn();
    else
        text.SetShadowOff();
    text.SetShadowColor(static_cast<ColorRef>(p.ShadowColor));
    if (p.Highlight)
        text.SetHighlightOn();
    else
        text.SetHighlightOff();
    text.SetHighlightWidth(p.HighlightLevel);
    if (p.Vertical)
        text.SetVertical();
    else
        text.SetHorizontal();
    text.SetLinePitch(p.LinePitch);
    if (p.LinkPage != 0)
        parts_.viewer.Links().AddLinkArea(playingPage_, text.TextBounds());

    if (toBackBuffer) {
        // SetText left every delay at 0: the whole text lands in the back buffer at once.
        text.SetDeferredComposite(true);
    } else {
        for (int i = 0; i < TNovelPage::kCharDelayCount; ++i)
            if (p.CharDelays[i] != -1)
                text.SetCharDelay(i, p.CharDelays[i]);
    }
}

void TPlayback::StartTyping()
{
    TypingStepper::Callbacks callbacks;
    callbacks.onChar = [this](int n, const QString& ch, bool drawn) {
        if (drawn && !parts_.text.DeferredComposite())
            parts_.screen.RepaintPicture();
        observer_->OnChar(n, ch, drawn);
    };
    // Tested after each character, so a stop that came during the opening fade still lets
    // the first character be typed.
    callbacks.stopRequested = [this] { return parts_.busy.StopRequested(); };
    callbacks.onDone = [this](bool) { PageDone(); };
    stepper_.Start(std::move(callbacks));
}

void TPlayback::PresentBackBuffer()
{
    parts_.compositor.PresentBackBuffer();
    observer_->OnPicture(PlaybackObserver::PictureKind::Present, QString(), 0);
    parts_.screen.RepaintPicture();
}

void TPlayback::BlankViewer()
{
    parts_.compositor.BlankViewer();
    parts_.viewer.Links().ClearLinkAreas();
    parts_.screen.RepaintPicture();
}

void TPlayback::CopyViewerToBackBuffer()
{
    QImage& back = parts_.compositor.BackBuffer();
    const QImage& shown = parts_.viewer.Picture();
    if (back.format() == shown.format() && back.size() == shown.size()
        && back.bytesPerLine() == shown.bytesPerLine()) {
        std::memcpy(back.bits(), shown.constBits(), static_cast<std::size_t>(back.sizeInBytes()));
    } else {
        back = shown.copy();
    }
}

void TPlayback::PageDone()
{
    const TNovelPage& p = parts_.book.Page(playingPage_);
    if (p.ShowBackBuffer) {
        ShowBackBuffer(p, p.PicEffect == 1, &TPlayback::ContinuePageDone);
        return;
    }
    if (p.WriteAll && !p.DrawToBackBuffer)
        PresentBackBuffer(); // the text typed into the back buffer shows at once
    ContinuePageDone();
}

void TPlayback::ApplyEndOfBookCursor()
{
    TViewerState& v = parts_.viewer;
    if (v.Links().HasLinks()) {
        v.cursor = kCursorCross;
        v.glyph = GoOnGlyph::Link;
    } else {
        v.cursor = kCursorHand;
        v.glyph = GoOnGlyph::Advance;
    }
}

void TPlayback::ContinuePageDone()
{
    const int done = playingPage_;
    const TNovelPage& p = parts_.book.Page(done);
    TViewerState& v = parts_.viewer;
    TOpenBook& book = parts_.book;

    if (!p.DrawToBackBuffer)
        CopyViewerToBackBuffer(); // later pages drawing there go on from what is seen
    nextPageGoto_ = p.GotoPage;
    nextPagePeriod_ = p.Period;

    const bool links = v.Links().HasLinks();
    if (links && nextPagePeriod_ && !parts_.slider.SliderMoved()) {
        v.cursor = kCursorCross;
        v.glyph = GoOnGlyph::Link;
    } else if (!links && nextPagePeriod_) {
        v.cursor = kCursorHand;
        v.glyph = GoOnGlyph::Advance;
    }

    int next = nextPageGoto_ > 0 ? nextPageGoto_ : book.CurrentPage + 1;
    if (next > kMaxPages) {
        next = kMaxPages;
        ApplyEndOfBookCursor();
    }
    book.CurrentPage = next;
    parts_.editing.ShowPageLabel(next);

    if (book.Page(next).InUse) {
        parts_.editing.ShowPage(next);
        parts_.slider.SelectSliderPage(done);
        observer_->OnPageDone(done, next, nextPagePeriod_, v.Links().LinkCount());
        if (p.Period || parts_.busy.StopRequested()) {
            v.goOnVisible = true;
            parts_.screen.ViewerStateChanged();
            parts_.busy.Release();
            pagePending_ = false;
            Wait();
        } else {
            PlayPage(next);
        }
        return;
    }

    // The end of the book, or a goto to a free slot: stop on the page before it.
    book.CurrentPage = next - 1;
    if (book.CurrentPage < 1)
        book.CurrentPage = 1; // a goto to a free page 1 has no page before it
    parts_.editing.ShowPageLabel(book.CurrentPage);
    parts_.editing.ShowPage(book.CurrentPage);
    parts_.slider.SelectSliderPage(done);
    v.goOnVisible = true;
    parts_.slider.EnableSlider(true);
    parts_.busy.Release();
    pagePending_ = false;
    ApplyEndOfBookCursor();
    parts_.screen.ViewerStateChanged();
    observer_->OnPageDone(done, book.CurrentPage, nextPagePeriod_, v.Links().LinkCount());
    observer_->OnEnd(book.CurrentPage);
    Wait();
}

void TPlayback::Wait()
{
    observer_->OnWait(parts_.book.CurrentPage);
}

void TPlayback::PlaySound(const QString& file, bool looped)
{
    parts_.sounds.PlaySound(parts_.compositor.ResolvePath(file), looped);
}

void TPlayback::StopSounds()
{
    parts_.sounds.StopSounds();
}

} // namespace pimoko
