#include "app/ui/program.h"

#include "app/core/single_instance.h"
#include "app/core/splash_hold.h"
#include "app/ui/library_window.h"
#include "app/ui/options_window.h"
#include "app/ui/placeholder_window.h"
#include "app/ui/sp_form.h"
#include "platform/canvas.h"
#include "platform/ui/application.h"

#include <QDir>
#include <QTimer>

namespace pimoko {

Program::Program(const QString& startupFolder, Clock& clock, PromptPort* prompt)
    : startupFolder_(startupFolder), clock_(clock),
      ownPrompt_(prompt ? nullptr : std::make_unique<QtPromptPort>()),
      prompt_(prompt ? prompt : ownPrompt_.get()), book_(*prompt_, *this, startupFolder),
      library_(*prompt_, *this, startupFolder)
{
    registry_.SetFallback([this](const WindowDesign& d) { return MakePlaceholder(d); });
    registry_.Register(QStringLiteral("TForm6"), [this] {
        auto window = std::make_unique<TForm6>(library_);
        form6_ = window.get();
        if (ownPrompt_)
            ownPrompt_->SetParent(form6_);
        form6_->FormCreate();
        windows_.push_back(std::move(window));
        return form6_;
    });
    registry_.Register(QStringLiteral("TForm2"), [this] {
        QWidget* editor = MakePlaceholder(kWindowOrder[2]);
        ReadEditorSettings();
        return editor;
    });
    registry_.Register(QStringLiteral("TForm4"), [this] {
        auto window = std::make_unique<TForm4>();
        form4_ = window.get();
        form4_->SetFullScreen = [this](bool on) { FullScreenWanted = on; };
        form6_->SetOptionsWindow(form4_);
        windows_.push_back(std::move(window));
        return form4_;
    });
}

Program::~Program()
{
    // Windows go before the state they show.
    windows_.clear();
}

void Program::CreateWindows() { registry_.CreateAll(); }

QWidget* Program::Window(const QString& className) const
{
    return qobject_cast<QWidget*>(registry_.Instance(className));
}

QWidget* Program::MakePlaceholder(const WindowDesign& design)
{
    windows_.push_back(std::make_unique<PlaceholderWindow>(design));
    return windows_.back().get();
}

void Program::ReadEditorSettings()
{
    settings_ = ReadSettings(startupFolder_);
    book_.Defaults() = settings_.Defaults();
    if (settings_.FileMissing)
        form6_->setWindowTitle(kPlayerCaption);
    form6_->SetPlayerMode(settings_.PlayerMode);
}

void Program::HideTitleList()
{
    if (QWidget* w = Window(QStringLiteral("TForm8")))
        w->hide();
}

void Program::HideViewer()
{
    if (QWidget* w = Window(QStringLiteral("TForm3")))
        w->hide();
}

void Program::HideEditor()
{
    if (QWidget* w = Window(QStringLiteral("TForm2")))
        w->hide();
}

void Program::ResetReaderState() {}

void Program::BlankViewer() {}

void Program::RebuildTitleListSlider() {}

void Program::StartPlaying() {}

bool Program::CloseEditor()
{
    QWidget* editor = Window(QStringLiteral("TForm2"));
    if (!editor)
        return true;
    editor->close();
    if (editor->isVisible())
        return false;
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

void Program::SaveLibraryList() { library_.SaveList(); }

void Program::RefreshLibraryTitles()
{
    if (form6_)
        form6_->RefreshTitles();
}

int RunProgram(int& argc, char** argv)
{
    // A second copy ends here, before it has any window or even a display connection.
    SingleInstanceGuard guard;
    if (guard.AnotherInstanceRuns())
        return 0;

    Application app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ピモコプレーヤー"));
    app.setQuitOnLastWindowClosed(false);
    InstallWindowsFaceSubstitutes();

    auto* splash = new TSpForm;
    splash->ShowNow();
    RealClock clock;
    const quint32 splashStart = clock.TickCount();

    Program program(QDir::currentPath(), clock);
    program.CreateWindows();

    // The rest of the second passes in the message loop, so the splash keeps painting.
    clock.After(SplashRemainingMs(splashStart, clock.TickCount()), [&] {
        splash->close();
        delete splash;
        splash = nullptr;
        program.Library()->show();
    });
    const int result = app.exec();
    delete splash;
    guard.Release();
    return result;
}

}  // namespace pimoko
