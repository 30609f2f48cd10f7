#include "app/ui/library_window.h"
#include "app/ui/options_window.h"
#include "app/ui/program.h"
#include "player/compositor.h"
#include "player/playback.h"
#include "player/viewer_state_actions.h"

namespace pimoko {

void Program::HideTitleList()
{
    if (form8_)
        form8_->hide();
}

void Program::HideViewer()
{
    if (form3_)
        form3_->hide();
}

void Program::HideEditor()
{
    if (QWidget* editor = Window(QStringLiteral("TForm2")))
        editor->hide();
}

void Program::ResetReaderState()
{
    if (!form3_)
        return;
    form3_->State().cursor = kCursorDefault;
    form3_->State().glyph = GoOnGlyph::Advance;
    form3_->ViewerStateChanged();
}

void Program::BlankViewer()
{
    if (!compositor_)
        return;
    compositor_->BlankViewer();
    form3_->State().Links().ClearLinkAreas();
    form3_->RepaintPicture();
}

void Program::RebuildTitleListSlider()
{
    if (form8_)
        form8_->RebuildSlider();
}

void Program::StartPlaying()
{
    if (playback_)
        playback_->StartPlaying();
}

bool Program::CloseEditor()
{
    QWidget* editor = Window(QStringLiteral("TForm2"));
    if (editor) {
        editor->close();
        if (editor->isVisible())
            return false;
    }
    // The settings file keeps the defaults of the book that was open last.
    WriteSettings(startupFolder_, book_.Defaults(), settings_.TransitionFineness);
    return true;
}

void Program::RegisterInLibrary(const QString& path, const QString& title)
{
    library_.List().AddBook(path, title);
    if (form6_)
        form6_->ShowEntries();
}

void Program::SaveLibraryList()
{
    library_.SaveList();
}

void Program::RefreshLibraryTitles()
{
    if (form6_)
        form6_->RefreshTitles();
}

bool Program::TitleListVisible() const
{
    return form8_ && form8_->isVisible();
}

bool Program::TitleListInPlayerMode() const
{
    return form8_ && form8_->Titles().mode == TTitleList::PlayerMode;
}

void Program::ShowTitleListInPlayerMode()
{
    if (form8_)
        form8_->ShowInPlayerMode();
}

void Program::SetFullScreenWanted(bool fullScreen)
{
    FullScreenCheckBox = fullScreen;
    if (form4_)
        form4_->SetItemIndex(fullScreen ? TForm4::FullScreenMode : TForm4::WindowMode);
}

void Program::ChoosePage(int page, bool playerMode)
{
    if (library_.Busy || page < 1 || page > TOpenBook::kPageCount)
        return;
    book_.CurrentPage = page;
    if (!playerMode || library_.Busy || !playback_)
        return;
    ResetReaderState();
    slider_->EnableSlider(false);
    playback_->StopSounds();
    playback_->StartPlaying();
}

void Program::ViewerKeyPress(int key)
{
    if (actions_)
        actions_->KeyDown(VirtualKeyOf(key));
}

void Program::FocusViewer()
{
    if (form3_ && form3_->isVisible()) {
        form3_->activateWindow();
        form3_->setFocus();
    }
}

} // namespace pimoko
