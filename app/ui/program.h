#pragma once

#include "app/core/book_session.h"
#include "app/core/window_registry.h"
#include "editor/ui/editor_window.h"
#include "platform/clock.h"
#include "platform/ui/qt_prompt_port.h"
#include "player/ui/title_list_window.h"
#include "player/ui/viewer_window.h"

#include <QString>

#include <memory>
#include <vector>

class QWidget;

namespace pimoko {

class SoundPort;
class TForm4;
class TForm6;
class TPlayback;
class TViewerActions;

// The program's windows, made once at start-up in their creation order, wired to the one
// session that holds the book, the settings, the library, the player and the busy flag.
// This object only connects windows: every rule lives in the session and its parts.
class Program : public SessionWindows,
                public ViewerWindowPeers,
                public TitleListHooks,
                public EditorWindowPeers,
                public EditorTitleListPort {
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
    TForm2* Editor() const { return form2_; }
    TForm4* Options() const { return form4_; }

    TBookSession& Session() { return session_; }
    TPlayback* Playback() const { return session_.Playback(); }
    TViewerActions* ViewerActions() const { return session_.ViewerActions(); }
    TLibrary& LibraryState() { return session_.Library(); }
    TOpenBook& Book() { return session_.Book(); }
    const TSettings& Settings() const { return session_.Settings(); }

    // The system asks the program to end: everything a close writes is written without a
    // question (an unsaved book goes to its recovery copy), then the event loop ends.
    void Terminate();
    // After the library is shown: tells the user of recovery copies an earlier run left.
    void ReportRecoveryCopies();

    // SessionWindows
    void HideTitleList() override;
    void HideViewer() override;
    void HideEditor() override;
    void ViewerStateChanged() override;
    void RepaintViewer() override;
    void RebuildTitleListSlider() override;
    void ResetTitleList() override;
    void ShowLibraryEntries() override;
    void RefreshLibraryTitles() override;
    bool CloseEditorWindow() override;
    void SettingsRead(const TSettings& settings) override;
    void ShowEditor() override;
    void MinimiseEditorWindows() override;
    void RestoreEditorWindow() override;

    // ViewerWindowPeers
    bool TitleListVisible() const override;
    bool TitleListInPlayerMode() const override;
    void ShowTitleListInPlayerMode() override;
    void SetFullScreenWanted(bool fullScreen) override;

    // TitleListHooks
    bool Busy() const override { return session_.Busy().IsBusy(); }
    void ChoosePage(int page, bool playerMode) override { session_.ChoosePage(page, playerMode); }
    void ViewerKeyPress(int key) override;
    void FocusViewer() override;

    // EditorWindowPeers
    void PlayFromCurrentPage() override { session_.PlayFromCurrentPage(); }
    void WriteSettings() override { session_.WriteEditorSettings(); }
    void OpenDistribution() override;
    bool OpenInsertion(bool before) override;

    // EditorTitleListPort
    bool IsVisible() const override { return TitleListVisible(); }
    void Refresh() override;
    void ReloadTitles() override { Refresh(); }
    bool ServesPlayer() const override;
    void Hide() override { HideTitleList(); }
    void ShowForEditing() override;
    void Reset() override { ResetTitleList(); }

private:
    void RegisterWindows();
    // The editor's ports changed (a window behind one was made): the page editor takes them.
    void ConnectEditorPorts();
    // Windows registered by their own files (app/ui/program_<window>.cpp), one line each.
    void RegisterTextSettingsWindow();
    void RegisterGraphicEditorWindow();
    void RegisterDistributionWindow();
    void RegisterPageWindows();
    void RegisterInsertionWindows();

    QWidget* MakePlaceholder(const WindowEntry& entry);
    void MakeViewer();

    std::unique_ptr<QtPromptPort> ownPrompt_;
    PromptPort* prompt_;
    std::unique_ptr<SoundPort> sounds_;
    TBookSession session_;
    WindowRegistry registry_;
    std::vector<std::unique_ptr<QWidget>> windows_;
    TForm6* form6_ = nullptr;
    TForm8* form8_ = nullptr;
    TForm2* form2_ = nullptr;
    EditorPorts editorPorts_;
    bool editorWasShown_ = false; // before a page played
    TForm3* form3_ = nullptr;
    TForm4* form4_ = nullptr;
    bool terminating_ = false;
};

// The whole run: the instance guard, the splash, the windows, the message loop.
int RunProgram(int& argc, char** argv);

} // namespace pimoko
