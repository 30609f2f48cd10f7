#include "app/core/book_session.h"

#include "book/page_limits.h"
#include "editor/distribution.h"
#include "editor/page_editor.h"
#include "platform/cursor_ids.h"
#include "platform/line_file.h"
#include "platform/paths.h"
#include "player/compositor.h"
#include "player/playback.h"
#include "player/sound_player.h"
#include "player/thumbnail_cache.h"
#include "player/viewer_state.h"
#include "player/viewer_state_actions.h"
#include "text/font_table.h"

#include <QDir>
#include <QFileInfo>

namespace pimoko {
namespace {

// The editor's audition: the player's sound operations once the viewer is attached.
class AuditionSoundPort : public SoundPort {
public:
    explicit AuditionSoundPort(const TBookSession& session)
        : session_(session)
    {
    }
    void PlaySound(const QString& file, bool looped) override
    {
        if (TPlayback* player = session_.Playback())
            player->PlaySound(file, looped);
    }
    void StopSounds() override
    {
        if (TPlayback* player = session_.Playback())
            player->StopSounds();
    }

private:
    const TBookSession& session_;
};

const QString kRecoveredSuffix = QStringLiteral(".recovered.pmk");
const QString kRecoveredUnsaved = QStringLiteral("recovered.pmk");

} // namespace

TBookSession::TBookSession(PromptPort& prompt, const QString& startupFolder, Clock& clock)
    : startupFolder_(startupFolder)
    , prompt_(prompt)
    , clock_(clock)
    , book_(prompt, *this, startupFolder)
    , library_(prompt, *this, startupFolder, &busy_)
    , thumbnails_(std::make_unique<ThumbnailCache>(startupFolder))
    , compositor_(std::make_unique<Compositor>(clock))
    , audition_(std::make_unique<AuditionSoundPort>(*this))
    , distribution_(std::make_unique<TDistribution>(startupFolder))
{
}

TBookSession::~TBookSession()
{
    // The player goes first: it works on the compositor and the viewer's parts.
    actions_.reset();
    playback_.reset();
    editor_.reset();
}

bool TBookSession::IsBusy()
{
    return busy_.IsBusy() || distribution_->Building();
}

void TBookSession::PrepareDistNames(TOpenBook& book)
{
    distribution_->PrepareDistNames(book);
}

void TBookSession::FinishDistribution(
    const QString& folder, const QString& runtimeBookPath, const QString& archivePath)
{
    distribution_->FinishDistribution(book_, folder, runtimeBookPath, archivePath);
}

void TBookSession::DistributionFolderNotMade(const QString& folder)
{
    distribution_->DistributionFolderNotMade(folder);
}

TPageEditor& TBookSession::CreateEditor(const EditorPorts& ports)
{
    if (!editor_) {
        fonts_ = std::make_unique<FontTable>();
        fonts_->FillFontTable();
        editor_ = std::make_unique<TPageEditor>(
            book_, prompt_, busy_, *fonts_, thumbnails_.get(), ports);
        editor_->ShowDefaults();
        editor_->ShowPage(1);
    }
    return *editor_;
}

void TBookSession::AttachViewer(const ViewerParts& viewer)
{
    if (playback_)
        return;
    slider_ = &viewer.slider;
    viewer_ = &viewer.state;
    PlaybackParts parts { book_, *compositor_, viewer.text, viewer.state, clock_, viewer.sounds,
        viewer.slider, *this, viewer.screen, busy_ };
    playback_ = std::make_unique<TPlayback>(parts);
    actions_ = std::make_unique<TViewerActions>(*playback_);
}

void TBookSession::ReadEditorSettings()
{
    settings_ = ReadSettings(startupFolder_);
    book_.Defaults() = settings_.Defaults();
    windows_->SettingsRead(settings_);
}

bool TBookSession::WriteEditorSettings()
{
    return WriteSettings(startupFolder_, book_.Defaults(), settings_.TransitionFineness);
}

QString TBookSession::RecoveryCopyPath(const QString& bookFilePath, const QString& startupFolder)
{
    if (bookFilePath.isEmpty())
        return QDir(startupFolder).filePath(kRecoveredUnsaved);
    const QFileInfo book(bookFilePath);
    return book.dir().filePath(book.completeBaseName() + kRecoveredSuffix);
}

QString TBookSession::WriteRecoveryCopy()
{
    if (!book_.Modified)
        return QString();
    StorePage();
    const QString path = RecoveryCopyPath(book_.BookFilePath, startupFolder_);
    // Characters Shift_JIS cannot hold become "?" here: nobody is there to be asked, and
    // the book's own file is left as it was.
    if (!WriteLineFile(path, book_.BookFileLines()))
        return QString();
    return path;
}

QStringList TBookSession::FindRecoveryCopies() const
{
    QStringList found;
    const QString unsaved = RecoveryCopyPath(QString(), startupFolder_);
    if (QFileInfo::exists(unsaved))
        found << unsaved;
    for (const BookListEntry& entry : library_.Entries()) {
        if (entry.Slot < 0 || entry.Slot >= TBookList::kSlotCount)
            continue;
        const QString book
            = ResolveBookPath(startupFolder_, library_.List().Slots[entry.Slot].FileName);
        const QString copy = RecoveryCopyPath(book, startupFolder_);
        if (!book.isEmpty() && QFileInfo::exists(copy) && !found.contains(copy))
            found << copy;
    }
    return found;
}

void TBookSession::WriteAllOnTermination()
{
    if (playback_) {
        busy_.RequestStop();
        playback_->Abandon();
        playback_->StopSounds();
    }
    WriteRecoveryCopy();
    WriteEditorSettings();
    library_.SaveList();
}

void TBookSession::ClearThumbnails()
{
    for (int set = 0; set < ThumbnailCache::kSets; ++set)
        thumbnails_->ClearThumbnails(set);
    if (editor_)
        editor_->PagesChanged();
    windows_->ResetTitleList();
}

void TBookSession::ResetReaderState()
{
    if (!viewer_)
        return;
    viewer_->cursor = kCursorDefault;
    viewer_->glyph = GoOnGlyph::Advance;
    windows_->ViewerStateChanged();
}

void TBookSession::BlankViewer()
{
    if (playback_)
        playback_->BlankViewer();
    else
        compositor_->BlankViewer();
    windows_->RepaintViewer();
}

void TBookSession::PlayFromCurrentPage()
{
    if (busy_.IsBusy() || !playback_)
        return;
    StorePage();
    RebuildTitleListSlider();
    ResetReaderState();
    playback_->StopSounds();
    playback_->StartPlaying();
}

void TBookSession::StartPlaying()
{
    if (playback_)
        playback_->StartPlaying();
}

bool TBookSession::CloseEditor()
{
    if (!windows_->CloseEditorWindow())
        return false;
    WriteEditorSettings();
    return true;
}

void TBookSession::StorePage()
{
    if (editor_)
        editor_->StorePage();
}

void TBookSession::ShowEditorWindow()
{
    if (editor_)
        editor_->ShowEditorWindow();
}

void TBookSession::ShowBookHeader(const TOpenBook& book)
{
    if (editor_)
        editor_->ShowBookHeader(book);
}

void TBookSession::ShowFirstPage()
{
    if (editor_)
        editor_->ShowFirstPage();
}

void TBookSession::SetPageFadeWaitField(const QString& text)
{
    if (editor_)
        editor_->SetPageFadeWaitField(text);
}

void TBookSession::ShowPage(int n)
{
    if (editor_)
        editor_->ShowPage(n);
}

void TBookSession::ClearPage(int n)
{
    book_.CurrentPage = n;
    if (editor_) {
        editor_->ShowPageLabel(n);
        editor_->ClearPage();
    }
}

void TBookSession::ShowPageLabel(int n)
{
    if (editor_)
        editor_->ShowPageLabel(n);
}

bool TBookSession::OpenInEditor(const QString& path)
{
    BlankViewer();
    if (!book_.LoadBook(path))
        return false;
    windows_->ShowEditor();
    return true;
}

void TBookSession::NewBookInEditor()
{
    BlankViewer();
    book_.NewBook();
    windows_->ShowEditor();
}

void TBookSession::RegisterInLibrary(const QString& path, const QString& title)
{
    library_.ListBook(path, title);
    windows_->ShowLibraryEntries();
}

void TBookSession::ChoosePage(int page, bool playerMode)
{
    if (busy_.IsBusy() || page < 1 || page > kMaxPages)
        return;
    StorePage();
    book_.CurrentPage = page;
    if (book_.Page(page).InUse)
        ShowPage(page);
    else
        ClearPage(page);
    if (!playerMode || !playback_ || busy_.IsBusy())
        return;
    ResetReaderState();
    slider_->EnableSlider(false);
    playback_->StopSounds();
    playback_->StartPlaying();
}

} // namespace pimoko
