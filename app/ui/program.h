#pragma once

#include "app/core/library.h"
#include "app/core/window_registry.h"
#include "book/book_hooks.h"
#include "book/open_book.h"
#include "book/settings_file.h"
#include "platform/clock.h"
#include "platform/ui/qt_prompt_port.h"

#include <QString>

#include <memory>
#include <vector>

class QWidget;

namespace pimoko {

class TForm4;
class TForm6;

// The program's windows and the state they share, made once at start-up. Until the
// editor window exists, the open book, the settings and the player-mode flag that it
// will own are kept here, and the windows that the library talks to are reached
// through this object.
class Program : public LibraryPeers, public BookHooks {
public:
    Program(const QString& startupFolder, Clock& clock, PromptPort* prompt = nullptr);
    ~Program() override;

    // Makes the windows in the design's order.
    void CreateWindows();
    const WindowRegistry& Registry() const { return registry_; }

    TForm6* Library() const { return form6_; }
    TForm4* Options() const { return form4_; }
    QWidget* Window(const QString& className) const;

    TLibrary& LibraryState() { return library_; }
    TOpenBook& Book() { return book_; }
    const TSettings& Settings() const { return settings_; }
    Clock& ProgramClock() { return clock_; }
    PromptPort& Prompt() { return *prompt_; }

    // The wanted screen mode of the viewer (the editor's hidden full-screen check box).
    bool FullScreenWanted = false;

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

private:
    // The editor's part of start-up: the settings file gives the book defaults and the mode.
    void ReadEditorSettings();
    QWidget* MakePlaceholder(const WindowDesign& design);

    QString startupFolder_;
    Clock& clock_;
    std::unique_ptr<QtPromptPort> ownPrompt_;
    PromptPort* prompt_;
    TOpenBook book_;
    TSettings settings_;
    TLibrary library_;
    WindowRegistry registry_;
    std::vector<std::unique_ptr<QWidget>> windows_;
    TForm6* form6_ = nullptr;
    TForm4* form4_ = nullptr;
};

// The whole run: the instance guard, the splash, the windows, the message loop.
int RunProgram(int& argc, char** argv);

}  // namespace pimoko
