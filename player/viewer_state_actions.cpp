#include "player/viewer_state_actions.h"

#include "book/open_book.h"
#include "book/page_limits.h"
#include "player/viewer_state.h"

#include <Qt>

#include <algorithm>

namespace pimoko {
namespace {

// A page the page buttons stop at: in use, with a picture or fill of its own.
bool HasOwnBackground(const TOpenBook& book, int n)
{
    const TNovelPage& p = book.Page(n);
    return p.InUse && (!p.PictureFile.isEmpty() || p.FillImage) && !p.ClipMode;
}

// The nearest such page below from; 0 when there is none.
int BackgroundPageBelow(const TOpenBook& book, int from)
{
    for (int n = from - 1; n >= 1; --n)
        if (HasOwnBackground(book, n))
            return n;
    return 0;
}

} // namespace

int VirtualKeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kVkReturn;
    case Qt::Key_Escape:
        return kVkEscape;
    case Qt::Key_Space:
        return kVkSpace;
    case Qt::Key_Left:
        return kVkLeft;
    case Qt::Key_Up:
        return kVkUp;
    case Qt::Key_Right:
        return kVkRight;
    case Qt::Key_Down:
        return kVkDown;
    case Qt::Key_L:
        return kVkL;
    case Qt::Key_F1:
        return kVkF1;
    default:
        return 0;
    }
}

TViewerActions::TViewerActions(TPlayback& playback)
    : playback_(playback)
    , parts_(playback.Parts())
{
}

bool TViewerActions::LinksActive() const
{
    return parts_.viewer.Links().HasLinks() && !parts_.slider.SliderMoved();
}

void TViewerActions::ReaderAdvance()
{
    if (parts_.busy.IsBusy())
        return;
    TViewerState& v = parts_.viewer;
    v.cursor = kCursorDefault;
    v.glyph = GoOnGlyph::Advance;
    parts_.screen.ViewerStateChanged();
    parts_.slider.EnableSlider(false);
    const int jump = parts_.slider.TakeSliderJump();
    if (jump >= 1 && jump <= kMaxPages) {
        parts_.book.CurrentPage = jump;
        parts_.editing.ShowPage(jump);
        playback_.StopSounds();
    }
    playback_.StartPlaying();
}

void TViewerActions::PlayLink(int page)
{
    TViewerState& v = parts_.viewer;
    v.cursor = kCursorDefault;
    v.glyph = GoOnGlyph::Advance;
    v.Links().ForgetHighlight();
    parts_.screen.ViewerStateChanged();
    parts_.book.CurrentPage = page;
    parts_.slider.EnableSlider(false);
    parts_.slider.ClearSliderMoved();
    parts_.editing.ShowPage(page);
    v.Links().ClearLinkAreas();
    playback_.StartPlaying();
}

void TViewerActions::FollowSelectedLink()
{
    if (parts_.busy.IsBusy() || parts_.slider.SliderMoved())
        return;
    const int target = parts_.viewer.Links().SelectedTarget(
        [this](int page) { return playback_.LinkPageOf(page); });
    if (target < 1)
        return;
    PlayLink(target);
}

void TViewerActions::GoOnButtonClick()
{
    if (parts_.busy.IsBusy())
        return;
    if (LinksActive())
        FollowSelectedLink();
    else
        ReaderAdvance();
}

void TViewerActions::PictureMouseDown(int x, int y, bool leftButtonAlone)
{
    if (parts_.busy.IsBusy() || !leftButtonAlone)
        return;
    const int target = parts_.viewer.Links().LinkTargetAt(
        x, y, [this](int page) { return playback_.LinkPageOf(page); });
    if (target < 1 || parts_.slider.SliderMoved()) {
        if (LinksActive())
            return; // with links to choose, only a click on one of them acts
        ReaderAdvance();
        return;
    }
    PlayLink(target);
}

void TViewerActions::FrameMouseDown(bool leftButtonAlone)
{
    if (parts_.busy.IsBusy() || !leftButtonAlone || !parts_.viewer.fullScreen)
        return;
    if (LinksActive())
        return;
    ReaderAdvance();
}

void TViewerActions::PictureMouseMove(int x, int y)
{
    if (parts_.busy.IsBusy())
        return;
    LinkAreaTable& links = parts_.viewer.Links();
    const bool before = links.HighlightDrawn();
    links.PointerMoved(x, y, parts_.viewer.Picture());
    if (before || links.HighlightDrawn())
        parts_.screen.RepaintPicture();
}

void TViewerActions::KeyDown(int key)
{
    if (!parts_.viewer.visible)
        return;
    if (key == kVkEscape) {
        playback_.RequestStop();
        if (!parts_.busy.IsBusy() && CloseRequested())
            parts_.screen.CloseViewer();
        return;
    }
    if (parts_.busy.IsBusy())
        return;
    LinkAreaTable& links = parts_.viewer.Links();
    switch (key) {
    case kVkReturn:
    case kVkSpace:
        GoOnButtonClick();
        break;
    case kVkLeft:
    case kVkUp:
    case kVkRight:
    case kVkDown:
        if (links.HasLinks() && playback_.NextPagePeriod() && !parts_.slider.SliderMoved()) {
            if (key == kVkLeft || key == kVkUp)
                links.SelectPreviousLink(parts_.viewer.Picture());
            else
                links.SelectNextLink(parts_.viewer.Picture());
            parts_.screen.RepaintPicture();
        }
        break;
    case kVkL:
    case kVkF1:
        ListButtonClick();
        break;
    default:
        break;
    }
}

void TViewerActions::StopButtonClick()
{
    if (!parts_.busy.IsBusy())
        return;
    playback_.RequestStop();
    playback_.StopSounds();
}

bool TViewerActions::StopMenuEnabled() const
{
    return parts_.busy.IsBusy();
}

void TViewerActions::ListButtonClick()
{
    if (!parts_.busy.IsBusy())
        parts_.screen.ShowTitleListInPlayerMode();
}

TViewerActions::MenuItems TViewerActions::MenuOpening()
{
    PlaybackScreen& screen = parts_.screen;
    const bool fullScreen = parts_.viewer.fullScreen;
    if (fullScreen && screen.TitleListVisible())
        screen.HideTitleList();
    MenuItems items;
    items.fullScreen
        = fullScreen ? QStringLiteral("フルスクリーン終了") : QStringLiteral("フルスクリーン表示");
    items.titleList = screen.TitleListVisible() ? QStringLiteral("ページ見出し非表示")
                                                : QStringLiteral("ページ見出し表示");
    items.stopEnabled = StopMenuEnabled();
    return items;
}

void TViewerActions::FullScreenMenuClick()
{
    if (parts_.busy.IsBusy())
        return;
    parts_.screen.SetFullScreenWanted(!parts_.editing.WantsFullScreen());
    ApplyScreenMode();
}

void TViewerActions::TitleListMenuClick()
{
    if (parts_.busy.IsBusy())
        return;
    if (parts_.screen.TitleListVisible())
        parts_.screen.HideTitleList();
    else
        parts_.screen.ShowTitleListInPlayerMode();
}

// CurrentPage already names the page after the one on screen, so going back passes over
// one page with a background: the one being read.
void TViewerActions::StepToPage(bool forward)
{
    if (parts_.busy.IsBusy()) {
        // Busy with something other than a page (the library at work): nothing to give up.
        if (!playback_.PagePlaying())
            return;
        playback_.Abandon();
        parts_.busy.Release();
    }
    TOpenBook& book = parts_.book;
    int current = std::clamp(book.CurrentPage, 1, kMaxPages);
    if (forward) {
        for (int n = current + 1; n <= kMaxPages; ++n) {
            if (HasOwnBackground(book, n)) {
                current = n;
                break;
            }
        }
    } else if (current != 1) {
        const int below = BackgroundPageBelow(book, current);
        if (below == 1)
            current = 1;
        else if (below > 1 && BackgroundPageBelow(book, below) > 0)
            current = BackgroundPageBelow(book, below);
    }
    book.CurrentPage = current;
    if (book.Page(current).InUse)
        parts_.editing.ShowPage(current);
    else
        parts_.editing.ClearPage(current);
    playback_.StartPlaying();
}

void TViewerActions::Deactivated(bool minimised)
{
    parts_.viewer.cursor = kCursorDefault;
    parts_.screen.ViewerStateChanged();
    if (minimised && parts_.screen.TitleListInPlayerMode())
        parts_.screen.HideTitleList();
}

bool TViewerActions::CloseRequested()
{
    if (parts_.busy.IsBusy()) {
        playback_.RequestStop();
        return false;
    }
    playback_.StopSounds();
    parts_.screen.HideTitleList();
    parts_.viewer.visible = false;
    return true;
}

void TViewerActions::Hidden()
{
    parts_.viewer.visible = false;
    playback_.StopSounds();
    parts_.editing.RestoreEditorWindow();
}

void TViewerActions::ApplyScreenMode()
{
    const auto change = parts_.viewer.ApplyScreenMode(parts_.editing.WantsFullScreen());
    if (change == TViewerState::ScreenChange::None)
        return;
    parts_.screen.HideTitleList();
    parts_.screen.ApplyScreenLayout(change);
}

} // namespace pimoko
