#include "app/core/library.h"

#include "archive/archive_operations.h"
#include "platform/line_file.h"
#include "platform/paths.h"
#include "platform/prompt_port.h"
#include "platform/sjis_codec.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace pimoko {
namespace {

const QString kCaption = QStringLiteral("ピモコプレーヤー");
const QString kBookTitleTag = QStringLiteral("<BOOK TITLE>");
const QString kCannotOpen = QStringLiteral("絵本ファイルを開けませんでした。");
const QString kCannotUnpack = QStringLiteral("絵本ファイルを解凍することができませんでした。");
const QString kNoBookInArchive = QStringLiteral("ピモコファイル(*.PMK)が見つかりませんでした。");
const QString kCannotList
    = QStringLiteral("%1 は絵本リストに登録できません（パスに保存できない文字「%2」があります）。");
const QString kRemoveQuestion
    = QStringLiteral("この絵本をリストから削除してよろしいですか？（絵本ファイルは残ります。）");

// A book title is one line near the top; a listed file that is huge or not a book
// must not stall the library, so only its beginning is read.
constexpr qint64 kTitleReadLimit = 64 * 1024 * 1024;

// Names sorted as a Windows folder listing gives them, so "the first" is stable.
QStringList SortedEntries(const QString& folder, QDir::Filters filters)
{
    QDir dir(folder);
    return dir.entryList(filters | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
        QDir::Name | QDir::IgnoreCase);
}

QString FirstBookIn(const QString& folder)
{
    for (const QString& name : SortedEntries(folder, QDir::Files)) {
        if (HasExtension(name, QStringLiteral(".pmk")))
            return QDir(folder).filePath(name);
    }
    return QString();
}

// The title a book file gives; nothing when it cannot be read or has no lines.
std::optional<QString> TitleInFile(const QString& path)
{
    QByteArray bytes;
    if (!ReadFileBytes(path, &bytes, kTitleReadLimit))
        return std::nullopt;
    const QStringList lines = SplitSjisLines(bytes);
    const int tag = lines.indexOf(kBookTitleTag);
    if (tag >= 0)
        return tag + 1 < lines.size() ? lines[tag + 1] : QString();
    if (lines.isEmpty())
        return std::nullopt;
    return lines[0];
}

// The first character of a text that Shift_JIS cannot hold, or holds only as a twin that
// reads back as another character.
QString FirstUnencodable(const QString& text)
{
    const SjisEncoding e = EncodeSjis(text);
    if (e.exact())
        return QString();
    qsizetype at = text.size();
    if (!e.unencodable.isEmpty())
        at = e.unencodable.front();
    if (!e.oneWay.isEmpty())
        at = std::min<qsizetype>(at, e.oneWay.front());
    return text.mid(at, text[at].isHighSurrogate() ? 2 : 1);
}

} // namespace

QString BookTitleOfFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return kMissingBookTitle;
    return TitleInFile(path).value_or(QString());
}

QString FindUnpackedBook(const QString& folder)
{
    const QString direct = FirstBookIn(folder);
    if (!direct.isEmpty())
        return direct;
    const QStringList dirs = SortedEntries(folder, QDir::Dirs | QDir::NoSymLinks);
    if (dirs.isEmpty())
        return QString();
    return FirstBookIn(QDir(folder).filePath(dirs.first()));
}

QPoint LibraryFirstPosition(const QRect& workArea, const QSize& window)
{
    const int x = window.width() < workArea.width()
        ? workArea.left() + (workArea.width() - window.width()) / 20
        : workArea.left();
    const int y = window.height() < workArea.height()
        ? workArea.top() + (workArea.height() - window.height()) / 5
        : workArea.top();
    return QPoint(x, y);
}

TLibrary::TLibrary(
    PromptPort& prompt, LibraryPeers& peers, const QString& startupFolder, TBusyState* busy)
    : Unpack(
        [](const QString& archive, const QString& folder) { return UnpackBook(archive, folder); })
    , prompt_(prompt)
    , peers_(peers)
    , startupFolder_(startupFolder)
    , busy_(busy ? *busy : ownBusy_)
{
}

void TLibrary::Create()
{
    {
        TBusyState::Hold hold(busy_);
        ReadBookList(startupFolder_, &list_);
    }
    RefreshTitles();
}

bool TLibrary::RefreshTitles()
{
    TBusyState::Hold hold(busy_);
    if (!hold.Held())
        return false;
    for (BookListEntry& entry : list_.Entries) {
        if (entry.Slot < 0 || entry.Slot >= TBookList::kSlotCount)
            continue;
        const QString path = ResolveBookPath(startupFolder_, list_.Slots[entry.Slot].FileName);
        if (!QFileInfo(path).isFile()) {
            // Shown, but the list file keeps the title it had.
            entry.Title = kMissingBookTitle;
            continue;
        }
        const std::optional<QString> title = TitleInFile(path);
        entry.Title = title.value_or(QString());
        if (title)
            entry.StoredTitle = *title;
    }
    return true;
}

bool TLibrary::ActionAllowed()
{
    return !busy_.IsBusy() && peers_.ConfirmDiscard();
}

bool TLibrary::HasFreeSlot() const
{
    for (const TBook& slot : list_.Slots) {
        if (!slot.Used)
            return true;
    }
    return false;
}

void TLibrary::ReadBook(int* selected, bool fromButtonOrKey)
{
    if (!ActionAllowed())
        return;
    if (fromButtonOrKey && peers_.PlayerMode() && *selected < 0 && !list_.Entries.isEmpty())
        *selected = 0;
    if (*selected < 0 || *selected >= list_.Entries.size())
        return;
    const BookListEntry& entry = list_.Entries[*selected];
    if (entry.Title.isEmpty() || entry.Slot < 0 || entry.Slot >= TBookList::kSlotCount)
        return;
    peers_.HideTitleList();
    peers_.HideViewer();
    peers_.HideEditor();
    peers_.ResetReaderState();
    if (!peers_.LoadBook(ResolveBookPath(startupFolder_, list_.Slots[entry.Slot].FileName)))
        return;
    peers_.BlankViewer();
    peers_.RebuildTitleListSlider();
    peers_.StartPlaying();
}

void TLibrary::OpenInEditor(int* selected)
{
    if (peers_.PlayerMode() || !ActionAllowed())
        return;
    if (*selected < 0 || *selected >= list_.Entries.size()) {
        peers_.HideTitleList();
        peers_.HideViewer();
        peers_.NewBookInEditor();
        return;
    }
    const BookListEntry& entry = list_.Entries[*selected];
    if (entry.Title.isEmpty() || entry.Slot < 0 || entry.Slot >= TBookList::kSlotCount)
        return;
    peers_.HideTitleList();
    peers_.HideViewer();
    if (!peers_.OpenInEditor(ResolveBookPath(startupFolder_, list_.Slots[entry.Slot].FileName)))
        return;
    *selected = -1;
}

void TLibrary::NewBookInEditor()
{
    if (peers_.PlayerMode() || !ActionAllowed())
        return;
    peers_.HideTitleList();
    peers_.HideViewer();
    peers_.NewBookInEditor();
}

TLibrary::Handed TLibrary::OpenHandedBook(const QString& path)
{
    if (busy_.IsBusy())
        return Handed::Busy;
    if (!peers_.ConfirmDiscard())
        return Handed::Refused;
    peers_.HideTitleList();
    peers_.HideViewer();
    if (!peers_.PlayerMode())
        return peers_.OpenInEditor(path) ? Handed::Opened : Handed::Refused;
    peers_.HideEditor();
    peers_.ResetReaderState();
    if (!peers_.LoadBook(path))
        return Handed::Refused;
    peers_.BlankViewer();
    peers_.RebuildTitleListSlider();
    peers_.StartPlaying();
    return Handed::Opened;
}

void TLibrary::AddBook()
{
    if (peers_.PlayerMode() || !ActionAllowed())
        return;
    peers_.HideViewer();
    peers_.HideEditor();
    peers_.HideTitleList();
    FileDialogRequest request;
    request.title = QStringLiteral("ピモコを追加する");
    request.filter = QStringLiteral("ピモコファイル(pmk/lzh)|*.pmk;*.lzh;*.lz");
    request.defaultExt = QStringLiteral("pmk");
    const QString path = prompt_.OpenFileName(request);
    if (path.isEmpty())
        return;
    AddBookFile(path);
}

void TLibrary::AddBookFile(const QString& path)
{
    if (HasExtension(path, QStringLiteral(".pmk")))
        AddPmk(path);
    else if (HasExtension(path, QStringLiteral(".lzh"))
        || HasExtension(path, QStringLiteral(".lz")))
        AddArchive(path);
    else
        prompt_.ShowMessage(MessageKind::Information, kCaption, kCannotOpen);
}

QString TLibrary::ListableName(const QString& path)
{
    const QString listed = ListedFileName(startupFolder_, path);
    if (listed.isEmpty()) {
        prompt_.ShowMessage(
            MessageKind::Warning, kCaption, kCannotList.arg(path, FirstUnencodable(path)));
    }
    return listed;
}

int TLibrary::ListBook(const QString& path, const QString& title)
{
    const QString listed = ListableName(path);
    return listed.isEmpty() ? -1 : list_.AddBook(listed, title);
}

void TLibrary::AddPmk(const QString& path)
{
    if (!HasFreeSlot())
        return;
    const QString listed = ListableName(QFileInfo(path).absoluteFilePath());
    if (listed.isEmpty() || !peers_.LoadBook(path))
        return;
    list_.AddBook(listed, peers_.BookTitle());
    SaveList();
}

QString TLibrary::BooksFolder(bool create)
{
    // "Books" and "BOOKS" are one folder on the system the books come from; here the
    // one that exists is taken, whatever its case.
    const QString books = FindExistingPath(JoinPath(startupFolder_, QStringLiteral("BOOKS")));
    if (QFileInfo(books).isDir())
        return books;
    if (!create || !QDir().mkpath(books))
        return QString();
    return books;
}

void TLibrary::AddArchive(const QString& path)
{
    const QString books = BooksFolder(true);
    if (books.isEmpty()) {
        prompt_.ShowMessage(MessageKind::Information, kCaption, kCannotUnpack);
        return;
    }
    const QString folder = FreeDatedFolder(books, Today());
    if (folder.isEmpty() || !QDir().mkdir(folder))
        return;
    const ArchiveResult unpacked = Unpack(QFileInfo(path).absoluteFilePath(), folder);
    const QString book = FindUnpackedBook(folder);
    if (!unpacked.ok) {
        // One message: the archive layer's names what went wrong. A book that came out
        // all the same (only some entries were refused) is still listed.
        prompt_.ShowMessage(MessageKind::Warning, kCaption,
            unpacked.message.isEmpty() ? kCannotUnpack : unpacked.message);
        if (book.isEmpty()) {
            QDir().rmdir(folder); // only when nothing came out
            return;
        }
    } else if (book.isEmpty()) {
        prompt_.ShowMessage(MessageKind::Information, kCaption, kNoBookInArchive);
        return;
    }
    if (!HasFreeSlot())
        return;
    const QString listed = ListableName(book);
    if (listed.isEmpty() || !peers_.LoadBook(book))
        return;
    list_.AddBook(listed, peers_.BookTitle());
    // Written now rather than at the next save, so a crash does not forget the book
    // that was just unpacked.
    SaveList();
}

void TLibrary::RemoveBook(int selected)
{
    if (peers_.PlayerMode() || !ActionAllowed())
        return;
    const Answer answer
        = prompt_.Ask(MessageKind::Warning, kCaption, kRemoveQuestion, Buttons::YesCancel);
    if (answer != Answer::Yes || selected < 0 || selected >= list_.Entries.size())
        return;
    peers_.HideTitleList();
    peers_.HideViewer();
    peers_.HideEditor();
    list_.RemoveEntry(selected);
    SaveList();
}

bool TLibrary::CanClose()
{
    if (busy_.IsBusy())
        return false;
    if (!peers_.CloseEditor())
        return false;
    SaveList();
    return true;
}

bool TLibrary::SaveList()
{
    return SaveBookList(startupFolder_, list_);
}

} // namespace pimoko
