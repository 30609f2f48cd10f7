#pragma once

#include "app/core/library.h"
#include "app/core/window_registry.h"
#include "book/book_hooks.h"
#include "book/open_book.h"
#include "book/settings_file.h"
#include "platform/clock.h"
#include "platform/ui/qt_prompt_port.h"
#include "player/playback_ports.h"
#include "player/ui/title_list_window.h"
#include "player/ui/viewer_window.h"

#include <QString>

#include <memory>
#include <vector>

class QWidget;

namespace pimoko {

class Compositor;
class SoundPort;
class TForm4;
class TForm6;
class ThumbnailCache;
class TPlayback;
class TViewerActions;

// The program's windows and the state they share, made once at start-up in the design's
// order. Until the editor window exists, what it will own (the open book, the settings
// with the player-mode flag, the compositor and the player, the wanted screen mode) is
// kept here, and this object answers for it to the library, the viewer and the title list.
class Program : public LibraryPeers,
                public BookHooks,
                public ViewerWindowPeers,
                public TitleListHooks,
                public PlaybackEditing {
public:
    // prompt: null for real dialogs. sounds: null for the real players.
    Program(const QString& startupFolder, Clock& clock, PromptPort* prompt = nullptr,
        std::unique_ptr<SoundPort> sounds = nullptr);
    ~Program() override;

    void CreateWindows();
    const WindowRegistry& Registry() const { return registry_; }
    QWidget* Window(const QString& className) const;

    TForm6* Library() const { return form6_; }
    TForm3* Viewer() const { return form3_; }
    TForm8* TitleList() const { return form8_; }
    TForm4* Options() const { return form4_; }
    TPlayback* Playback() const { return playback_.get(); }
    TViewerActions* ViewerActions() const { return actions_.get(); }

    TLibrary& LibraryState() { return library_; }
    TOpenBook& Book() { return book_; }
    const TSettings& Settings() const { return settings_; }

    // The hidden full-screen check box the viewer reads its screen mode from.
    bool FullScreenCheckBox = false;

    // LibraryPeers
    bool PlayerMode() override { return settings_.PlayerMode; }
    bool ConfirmDiscard() override { return book_.ConfirmDiscard(); }
    bool LoadBook(const QString& path) override { return book_.LoadBook(path); }
    QString BookTitle() override { return book_.BookTitle; }
    void HideTitleList() override;
    void HideViewer() override;
    void HideEditor() override;
    void ResetReaderState() override;
    void BlankViewer() override;
    void RebuildTitleListSlider() override;
    void StartPlaying() override;
    bool CloseEditor() override;

    // BookHooks
    bool IsBusy() override { return library_.Busy; }
    void RegisterInLibrary(const QString& path, const QString& title) override;
    void SaveLibraryList() override;
    void RefreshLibraryTitles() override;

    // ViewerWindowPeers
    bool TitleListVisible() const override;
    bool TitleListInPlayerMode() const override;
    void ShowTitleListInPlayerMode() override;
    bool FullScreenWanted() const override { return FullScreenCheckBox; }
    void SetFullScreenWanted(bool fullScreen) override;

    // TitleListHooks
    bool Busy() const override { return library_.Busy; }
    void ChoosePage(int page, bool playerMode) override;
    void ViewerKeyPress(int key) override;
    void FocusViewer() override;

    // PlaybackEditing
    QString BookTitle() const override { return book_.BookTitle; }
    bool WantsFullScreen() const override { return FullScreenCheckBox; }

private:
    void RegisterWindows();
    void ReadEditorSettings();
    QWidget* MakePlaceholder(const WindowDesign& design);
    void MakePlayer();

    QString startupFolder_;
    Clock& clock_;
    std::unique_ptr<QtPromptPort> ownPrompt_;
    PromptPort* prompt_;
    std::unique_ptr<SoundPort> sounds_;
    TOpenBook book_;
    TSettings settings_;
    TLibrary library_;
    std::unique_ptr<ThumbnailCache> thumbnails_;
    std::unique_ptr<Compositor> compositor_;
    std::unique_ptr<PageSliderPort> slider_;
    std::unique_ptr<TPlayback> playback_;
    std::unique_ptr<TViewerActions> actions_;
    WindowRegistry registry_;
    std::vector<std::unique_ptr<QWidget>> windows_;
    TForm6* form6_ = nullptr;
    TForm8* form8_ = nullptr;
    TForm3* form3_ = nullptr;
    TForm4* form4_ = nullptr;
};

// The whole run: the instance guard, the splash, the windows, the message loop.
int RunProgram(int& argc, char** argv);

} // namespace pimoko
