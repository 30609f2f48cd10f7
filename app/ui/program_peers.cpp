#include "app/ui/library_window.h"
#include "app/ui/options_window.h"
#include "app/ui/program.h"
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
    if (form2_)
        form2_->hide();
}

void Program::ShowEditor()
{
    if (!form2_)
        return;
    form2_->ShowState();
    form2_->showNormal();
    form2_->raise();
    form2_->activateWindow();
    if (TitleListVisible())
        Refresh();
}

void Program::MinimiseEditorWindows()
{
    editorWasShown_ = form2_ && form2_->isVisible() && !form2_->isMinimized();
    if (editorWasShown_)
        form2_->showMinimized();
}

void Program::RestoreEditorWindow()
{
    if (form2_ && editorWasShown_) {
        form2_->showNormal();
        form2_->ShowState();
    }
    editorWasShown_ = false;
}

void Program::Refresh()
{
    if (form8_ && form8_->isVisible())
        form8_->RefreshList();
}

bool Program::ServesPlayer() const
{
    return TitleListVisible() && TitleListInPlayerMode();
}

void Program::ShowForEditing()
{
    if (form8_)
        form8_->ShowInEditorMode();
}

void Program::ViewerStateChanged()
{
    if (form3_)
        form3_->ViewerStateChanged();
}

void Program::RepaintViewer()
{
    if (form3_)
        form3_->RepaintPicture();
}

void Program::RebuildTitleListSlider()
{
    if (form8_)
        form8_->RebuildSlider();
}

void Program::ResetTitleList()
{
    if (form8_)
        form8_->ResetPageTitleList();
}

void Program::ShowLibraryEntries()
{
    if (form6_)
        form6_->ShowEntries();
}

void Program::RefreshLibraryTitles()
{
    if (form6_)
        form6_->RefreshTitles();
}

bool Program::CloseEditorWindow()
{
    if (!form2_)
        return true;
    // A hidden editor is asked too: its close stores the page and asks about an unsaved
    // book. It stays open (and shown) when the author cancels.
    return form2_->close();
}

void Program::SettingsRead(const TSettings& settings)
{
    if (!form6_)
        return;
    if (settings.FileMissing)
        form6_->setWindowTitle(kPlayerCaption);
    form6_->SetPlayerMode(settings.PlayerMode);
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
    session_.FullScreenCheckBox = fullScreen;
    if (form4_)
        form4_->SetItemIndex(fullScreen ? TForm4::FullScreenMode : TForm4::WindowMode);
}

void Program::ViewerKeyPress(int key)
{
    if (TViewerActions* actions = session_.ViewerActions())
        actions->KeyDown(VirtualKeyOf(key));
}

void Program::FocusViewer()
{
    if (form3_ && form3_->isVisible()) {
        form3_->activateWindow();
        form3_->setFocus();
    }
}

} // namespace pimoko
