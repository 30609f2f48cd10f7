#include "app/ui/program.h"

#include "app/core/instance_handover.h"
#include "app/core/single_instance.h"
#include "app/core/splash_hold.h"
#include "app/core/startup_folder.h"
#include "app/ui/library_window.h"
#include "app/ui/options_window.h"
#include "app/ui/placeholder_window.h"
#include "app/ui/sp_form.h"
#include "platform/canvas.h"
#include "platform/termination_signals.h"
#include "platform/ui/application.h"
#include "player/playback.h"
#include "player/sound_player.h"
#include "player/viewer_state_actions.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

#include <cstdio>

namespace pimoko {

Program::Program(const QString& startupFolder, Clock& clock, PromptPort* prompt,
    std::unique_ptr<SoundPort> sounds)
    : ownPrompt_(prompt ? nullptr : std::make_unique<QtPromptPort>())
    , prompt_(prompt ? prompt : ownPrompt_.get())
    , sounds_(std::move(sounds))
    , session_(*prompt_, startupFolder, clock)
{
    session_.SetWindows(this);
    RegisterWindows();
}

Program::~Program()
{
    session_.SetWindows(nullptr);
    windows_.clear();
}

void Program::RegisterWindows()
{
    registry_.SetFallback([this](const WindowEntry& d) { return MakePlaceholder(d); });
    registry_.Register(QStringLiteral("TForm6"), [this] {
        auto window = std::make_unique<TForm6>(session_.Library());
        form6_ = window.get();
        if (ownPrompt_)
            ownPrompt_->SetParent(form6_);
        windows_.push_back(std::move(window));
        form6_->FormCreate();
        return form6_;
    });
    registry_.Register(QStringLiteral("TForm8"), [this] {
        auto window = std::make_unique<TForm8>(session_.Book(), &session_.Thumbnails(), this);
        form8_ = window.get();
        windows_.push_back(std::move(window));
        return form8_;
    });
    registry_.Register(QStringLiteral("TForm2"), [this] {
        editorPorts_.titleList = this;
        editorPorts_.sound = &session_.AuditionSounds();
        TPageEditor& editor = session_.CreateEditor(editorPorts_);
        auto window
            = std::make_unique<TForm2>(editor, session_.Busy(), *prompt_, *this, editorPorts_);
        form2_ = window.get();
        windows_.push_back(std::move(window));
        session_.ReadEditorSettings();
        editor.ShowDefaults();
        form2_->ShowState();
        return form2_;
    });
    registry_.Register(QStringLiteral("TForm3"), [this] {
        MakeViewer();
        return form3_;
    });
    registry_.Register(QStringLiteral("TForm4"), [this] {
        auto window = std::make_unique<TForm4>();
        form4_ = window.get();
        form4_->SetFullScreen = [this](bool on) { session_.FullScreenCheckBox = on; };
        form6_->SetOptionsWindow(form4_);
        windows_.push_back(std::move(window));
        return form4_;
    });
    // Windows registered by their own files (app/ui/program_<window>.cpp).
    RegisterTextSettingsWindow();
    RegisterGraphicEditorWindow();
    RegisterDistributionWindow();
    RegisterPageWindows();
    RegisterInsertionWindows();
}

void Program::ConnectEditorPorts()
{
    if (form2_)
        form2_->SetPorts(editorPorts_);
}

void Program::MakeViewer()
{
    auto window = std::make_unique<TForm3>(*this, std::move(sounds_));
    form3_ = window.get();
    windows_.push_back(std::move(window));
    session_.AttachViewer(
        { form3_->TextEngine(), form3_->State(), form3_->Sounds(), *form8_, *form3_ });
    form3_->Attach(session_.ViewerActions());
}

void Program::CreateWindows()
{
    registry_.CreateAll();
}

QWidget* Program::Window(const QString& className) const
{
    return qobject_cast<QWidget*>(registry_.Instance(className));
}

QWidget* Program::MakePlaceholder(const WindowEntry& entry)
{
    windows_.push_back(std::make_unique<PlaceholderWindow>(entry));
    return windows_.back().get();
}

void Program::Terminate()
{
    if (terminating_)
        return;
    terminating_ = true;
    session_.WriteAllOnTermination();
    for (const auto& window : windows_)
        window->hide();
    // exit, not quit: quit asks every window to close, and the editor's close would ask
    // about the unsaved book that was just kept.
    QCoreApplication::exit(0);
}

void Program::ReportRecoveryCopies()
{
    const QStringList copies = session_.FindRecoveryCopies();
    if (copies.isEmpty())
        return;
    prompt_->ShowMessage(MessageKind::Information, kLibraryCaption,
        QStringLiteral("前回の終了時に保存されていなかった絵本を、次のファイルに残してあります。\n"
                       "「絵本を追加する」で開けます。\n\n%1")
            .arg(copies.join(QLatin1Char('\n'))));
}

int RunProgram(int& argc, char** argv)
{
    // A second copy ends here, before it has any window or even a display connection; a
    // book it was started on goes to the running copy first.
    SingleInstanceGuard guard;
    if (guard.AnotherInstanceRuns())
        return HandOverAndEnd(argc, argv);

    Application app(argc, argv);
    // Listening at once: a second start waits for this server while the splash is up.
    HandoverServer handover;
    handover.Listen(HandoverServerPath(QFileInfo(guard.LockPath()).absolutePath()));
    // Installed before anything else, so a signal from now on is seen by the event loop.
    TerminationSignals endSignals;
    // The title the program goes by; window captions stay exactly their own.
    QCoreApplication::setApplicationName(QStringLiteral("ピモコプレーヤー"));
    app.setQuitOnLastWindowClosed(false);
    InstallWindowsFaceSubstitutes();
    // Started from the menu or a file manager (not in a start-up folder), an installed
    // program runs in the user's data folder, laid out from its template the first time.
    const QString handedOnStart = app.arguments().size() > 1
        ? HandedBookPath(app.arguments().at(1), QDir::currentPath())
        : QString();
    QString layoutError;
    const QString startupFolder = ChooseStartupFolder(QDir::currentPath(),
        InstalledStartupTemplate(QCoreApplication::applicationDirPath()),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), &layoutError);
    if (!layoutError.isEmpty())
        std::fprintf(stderr, "pimoko: %s\n", qPrintable(layoutError));
    QDir::setCurrent(startupFolder);

    auto* splash = new TSpForm;
    splash->ShowNow();
    RealClock clock;
    const quint32 splashStart = clock.TickCount();

    // The chosen folder even when it could not be made: nothing lands where the menu
    // happened to start the program.
    Program program(startupFolder, clock);
    program.CreateWindows();
    HandedBookQueue handed([&](const QString& path) {
        // A dialog of the user's own (a save, a question) is answered first.
        if (QApplication::activeModalWidget())
            return TLibrary::Handed::Busy;
        const TLibrary::Handed result = program.LibraryState().OpenHandedBook(path);
        QWidget* shown = program.Viewer()->isVisible() ? static_cast<QWidget*>(program.Viewer())
                                                       : program.Editor();
        if (result == TLibrary::Handed::Opened && shown->isVisible()) {
            shown->raise();
            shown->activateWindow();
        }
        return result;
    });
    if (!handedOnStart.isEmpty())
        handed.Add(handedOnStart);
    QObject::connect(&handover, &HandoverServer::BookHanded, &handed, &HandedBookQueue::Add);
    QObject::connect(&endSignals, &TerminationSignals::Received, [&] { program.Terminate(); });

    // The rest of the second passes in the message loop, so the splash keeps painting.
    clock.After(SplashRemainingMs(splashStart, clock.TickCount()), [&] {
        if (splash) {
            splash->close();
            delete splash;
            splash = nullptr;
        }
        program.Library()->show();
        program.ReportRecoveryCopies();
        // Started from the menu there is no terminal to read the reason on.
        if (!layoutError.isEmpty())
            QMessageBox::warning(program.Library(), kLibraryCaption,
                QStringLiteral("サンプルの絵本を用意できませんでした。\n%1").arg(layoutError));
        handed.Start();
    });
    const int result = app.exec();
    delete splash;
    guard.Release();
    return result;
}

} // namespace pimoko
