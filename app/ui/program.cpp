#include "app/ui/program.h"

#include "app/core/single_instance.h"
#include "app/core/splash_hold.h"
#include "app/ui/library_window.h"
#include "app/ui/options_window.h"
#include "app/ui/placeholder_window.h"
#include "app/ui/sp_form.h"
#include "platform/canvas.h"
#include "platform/ui/application.h"
#include "player/compositor.h"
#include "player/playback.h"
#include "player/sound_player.h"
#include "player/thumbnail_cache.h"
#include "player/viewer_state_actions.h"

#include <QDir>

namespace pimoko {
namespace {

// The title list window's slider as the player moves and reads it.
class WindowSlider : public PageSliderPort {
public:
    explicit WindowSlider(TForm8& list)
        : list_(list)
    {
    }
    void EnableSlider(bool enabled) override { list_.EnableSlider(enabled); }
    void SelectSliderPage(int n) override { list_.SelectSliderPage(n); }
    bool SliderMoved() const override { return list_.Titles().sliderMoved; }
    void ClearSliderMoved() override { list_.Titles().sliderMoved = false; }
    int TakeSliderJump() override { return list_.JumpToSliderPage(); }

private:
    TForm8& list_;
};

} // namespace

Program::Program(const QString& startupFolder, Clock& clock, PromptPort* prompt,
    std::unique_ptr<SoundPort> sounds)
    : startupFolder_(startupFolder)
    , clock_(clock)
    , ownPrompt_(prompt ? nullptr : std::make_unique<QtPromptPort>())
    , prompt_(prompt ? prompt : ownPrompt_.get())
    , sounds_(std::move(sounds))
    , book_(*prompt_, *this, startupFolder)
    , library_(*prompt_, *this, startupFolder)
    , thumbnails_(std::make_unique<ThumbnailCache>(startupFolder))
{
    RegisterWindows();
}

Program::~Program()
{
    // The player goes first: it works on the viewer's picture and text engine.
    actions_.reset();
    playback_.reset();
    windows_.clear();
}

void Program::RegisterWindows()
{
    registry_.SetFallback([this](const WindowDesign& d) { return MakePlaceholder(d); });
    registry_.Register(QStringLiteral("TForm6"), [this] {
        auto window = std::make_unique<TForm6>(library_);
        form6_ = window.get();
        if (ownPrompt_)
            ownPrompt_->SetParent(form6_);
        windows_.push_back(std::move(window));
        form6_->FormCreate();
        return form6_;
    });
    registry_.Register(QStringLiteral("TForm8"), [this] {
        auto window = std::make_unique<TForm8>(book_, thumbnails_.get(), this);
        form8_ = window.get();
        slider_ = std::make_unique<WindowSlider>(*form8_);
        windows_.push_back(std::move(window));
        return form8_;
    });
    registry_.Register(QStringLiteral("TForm2"), [this] {
        QWidget* editor = MakePlaceholder(kWindowOrder[2]);
        ReadEditorSettings();
        return editor;
    });
    registry_.Register(QStringLiteral("TForm3"), [this] {
        MakePlayer();
        return form3_;
    });
    registry_.Register(QStringLiteral("TForm4"), [this] {
        auto window = std::make_unique<TForm4>();
        form4_ = window.get();
        form4_->SetFullScreen = [this](bool on) { FullScreenCheckBox = on; };
        form6_->SetOptionsWindow(form4_);
        windows_.push_back(std::move(window));
        return form4_;
    });
}

void Program::MakePlayer()
{
    auto window = std::make_unique<TForm3>(*this, std::move(sounds_));
    form3_ = window.get();
    windows_.push_back(std::move(window));
    compositor_ = std::make_unique<Compositor>(clock_);
    PlaybackParts parts { book_, *compositor_, form3_->TextEngine(), form3_->State(), clock_,
        form3_->Sounds(), *slider_, *this, *form3_, library_.Busy };
    playback_ = std::make_unique<TPlayback>(parts);
    actions_ = std::make_unique<TViewerActions>(*playback_);
    form3_->Attach(playback_.get(), actions_.get());
}

void Program::CreateWindows()
{
    registry_.CreateAll();
}

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

int RunProgram(int& argc, char** argv)
{
    // A second copy ends here, before it has any window or even a display connection.
    SingleInstanceGuard guard;
    if (guard.AnotherInstanceRuns())
        return 0;

    Application app(argc, argv);
    // The title the program goes by; window captions stay exactly their own.
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

} // namespace pimoko
