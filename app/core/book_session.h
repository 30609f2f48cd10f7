#pragma once

#include "app/core/library.h"
#include "book/book_hooks.h"
#include "book/open_book.h"
#include "book/settings_file.h"
#include "platform/busy_state.h"
#include "player/playback_ports.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace pimoko {

class Clock;
class Compositor;
class TDistribution;
class FontTable;
class TPageEditor;
struct EditorPorts;
class PromptPort;
class SoundPort;
class ThumbnailCache;
class TPlayback;
class TTextShotB;
class TViewerActions;
class TViewerState;

// What the session asks of the windows around it. The defaults do nothing, so a session
// runs and is tested without any window.
class SessionWindows {
public:
    virtual ~SessionWindows() = default;

    virtual void HideTitleList() { }
    virtual void HideViewer() { }
    virtual void HideEditor() { }
    // The viewer's cursor, glyph or picture changed outside the player.
    virtual void ViewerStateChanged() { }
    virtual void RepaintViewer() { }
    virtual void RebuildTitleListSlider() { }
    // The title list goes back to its top with no selection, and composes its pictures
    // afresh (the book it showed is gone).
    virtual void ResetTitleList() { }
    virtual void ShowLibraryEntries() { }
    virtual void RefreshLibraryTitles() { }
    // Closes the editor window (its own prompts run there); false when the user kept it.
    virtual bool CloseEditorWindow() { return true; }
    // The settings were read: the library shows the player caption or the full tool.
    virtual void SettingsRead(const TSettings&) { }
    // The editor window is shown (a book opened or started for editing).
    virtual void ShowEditor() { }
    // While a page plays the editing windows go down, and come back when the viewer is
    // hidden.
    virtual void MinimiseEditorWindows() { }
    virtual void RestoreEditorWindow() { }
};

// The viewer's parts the player drives: the viewer window owns them.
struct ViewerParts {
    TTextShotB& text;
    TViewerState& state;
    SoundPort& sounds;
    PageSliderPort& slider;
    PlaybackScreen& screen;
};

// One reading and editing session, without windows: the open book, the settings, the
// library with its book list, the busy flag and the stop request, the thumbnail caches,
// the compositor with the back buffer, and the player once the viewer is attached. The
// windows show this state and turn their events into calls on it.
class TBookSession : public LibraryPeers, public BookHooks, public PlaybackEditing {
public:
    TBookSession(PromptPort& prompt, const QString& startupFolder, Clock& clock);
    ~TBookSession() override;
    TBookSession(const TBookSession&) = delete;
    TBookSession& operator=(const TBookSession&) = delete;

    void SetWindows(SessionWindows* windows) { windows_ = windows ? windows : &noWindows_; }

    const QString& StartupFolder() const { return startupFolder_; }
    PromptPort& Prompt() { return prompt_; }
    Clock& GetClock() { return clock_; }
    TBusyState& Busy() { return busy_; }
    const TBusyState& Busy() const { return busy_; }
    TOpenBook& Book() { return book_; }
    const TOpenBook& Book() const { return book_; }
    TSettings& Settings() { return settings_; }
    const TSettings& Settings() const { return settings_; }
    TLibrary& Library() { return library_; }
    ThumbnailCache& Thumbnails() { return *thumbnails_; }
    Compositor& GetCompositor() { return *compositor_; }

    // Makes the player on the viewer's parts; once only.
    void AttachViewer(const ViewerParts& viewer);
    TPlayback* Playback() const { return playback_.get(); }
    TViewerActions* ViewerActions() const { return actions_.get(); }

    // The hidden full-screen check box the viewer reads its screen mode from.
    bool FullScreenCheckBox = false;

    // The editing state of the editor window, made with the window (the font table is
    // filled then, so a session without an editor needs no font database). Once only.
    TPageEditor& CreateEditor(const EditorPorts& ports);
    TPageEditor* Editor() const { return editor_.get(); }
    // The editor's audition buttons play through the player's sound operations.
    SoundPort& AuditionSounds() { return *audition_; }
    // "再生": the page being edited is stored, the slider rebuilt, the reader's cursor and
    // go-on glyph reset, the sounds stopped, and playback starts at the current page.
    void PlayFromCurrentPage();
    const FontTable* Fonts() const { return fonts_.get(); }

    // The editor's creation: the settings file is read and its defaults become the book's.
    void ReadEditorSettings();
    // The editor's close: the settings file keeps the defaults of the book open last.
    bool WriteEditorSettings();

    // The system asks the program to end (a signal, a logout): nothing is asked. A book
    // with unsaved changes is written to its recovery copy, never over its own file. The
    // path written, or "" when there was nothing to keep or the write failed.
    QString WriteRecoveryCopy();
    // Where a book's recovery copy goes: beside the book file as "name.recovered.pmk", or
    // "recovered.pmk" in the start-up folder for a book never saved.
    static QString RecoveryCopyPath(const QString& bookFilePath, const QString& startupFolder);
    // The recovery copies left by an earlier run: of the listed books and of a book
    // never saved.
    QStringList FindRecoveryCopies() const;
    // Everything a normal close writes, without questions: the recovery copy of an
    // unsaved book, the settings file and the book list.
    void WriteAllOnTermination();

    // Both thumbnail sets and the title list's pictures start afresh (a book was loaded or
    // a new one started).
    void ClearThumbnails();

    // LibraryPeers
    bool PlayerMode() override { return settings_.PlayerMode; }
    bool ConfirmDiscard() override { return book_.ConfirmDiscard(); }
    bool LoadBook(const QString& path) override { return book_.LoadBook(path); }
    QString BookTitle() override { return book_.BookTitle; }
    void HideTitleList() override { windows_->HideTitleList(); }
    void HideViewer() override { windows_->HideViewer(); }
    void HideEditor() override { windows_->HideEditor(); }
    void ResetReaderState() override;
    void BlankViewer() override;
    void RebuildTitleListSlider() override { windows_->RebuildTitleListSlider(); }
    void StartPlaying() override;
    bool CloseEditor() override;

    // BookHooks and PlaybackEditing: the page being edited goes into the page table.
    void StorePage() override;

    // BookHooks
    bool IsBusy() override;
    void ShowEditorWindow() override;
    void ShowBookHeader(const TOpenBook& book) override;
    void ShowFirstPage() override;
    void SetPageFadeWaitField(const QString& text) override;
    void ResetPageTitleList() override { windows_->ResetTitleList(); }
    void DropThumbnails() override { ClearThumbnails(); }
    void RegisterInLibrary(const QString& path, const QString& title) override;
    void SaveLibraryList() override { library_.SaveList(); }
    void RefreshLibraryTitles() override { windows_->RefreshLibraryTitles(); }
    void PrepareDistNames(TOpenBook& book) override;
    void FinishDistribution(
        const QString& folder, const QString& runtimeBookPath, const QString& archivePath) override;
    void DistributionFolderNotMade(const QString& folder) override;

    // The distribution build of the open book.
    TDistribution& Distribution() { return *distribution_; }

    // PlaybackEditing
    QString BookTitle() const override { return book_.BookTitle; }
    bool WantsFullScreen() const override { return FullScreenCheckBox; }
    void ShowPage(int n) override;
    void ClearPage(int n) override;
    void ShowPageLabel(int n) override;
    void MinimiseEditorWindows() override { windows_->MinimiseEditorWindows(); }
    void RestoreEditorWindow() override { windows_->RestoreEditorWindow(); }

    // The library's "エディタを開く" with a listed book and "絵本の新規作成": the book is
    // loaded or started and the editor shown. False when the load was refused.
    bool OpenInEditor(const QString& path) override;
    void NewBookInEditor() override;

    // The title list's choice: the page becomes current, and in player mode playback
    // starts there. Nothing while busy.
    void ChoosePage(int page, bool playerMode);

private:
    QString startupFolder_;
    PromptPort& prompt_;
    Clock& clock_;
    SessionWindows noWindows_;
    SessionWindows* windows_ = &noWindows_;
    TBusyState busy_;
    TOpenBook book_;
    TSettings settings_;
    TLibrary library_;
    std::unique_ptr<ThumbnailCache> thumbnails_;
    std::unique_ptr<Compositor> compositor_;
    std::unique_ptr<FontTable> fonts_;
    std::unique_ptr<TPageEditor> editor_;
    std::unique_ptr<SoundPort> audition_;
    std::unique_ptr<TDistribution> distribution_;
    PageSliderPort* slider_ = nullptr;
    TViewerState* viewer_ = nullptr;
    std::unique_ptr<TPlayback> playback_;
    std::unique_ptr<TViewerActions> actions_;
};

} // namespace pimoko
