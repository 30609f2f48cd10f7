#include "app/core/library.h"

#include "archive/archive_operations.h"
#include "platform/line_file.h"
#include "platform/paths.h"
#include "platform/prompt_port.h"

#include <QDir>
#include <QFileInfo>

namespace pimoko {
namespace {

const QString kCaption = QStringLiteral("ピモコプレーヤー");
const QString kBookTitleTag = QStringLiteral("<BOOK TITLE>");
const QString kCannotOpen = QStringLiteral("絵本ファイルを開けませんでした。");
const QString kCannotUnpack = QStringLiteral("絵本ファイルを解凍することができませんでした。");
const QString kNoBookInArchive = QStringLiteral("ピモコファイル(*.PMK)が見つかりませんでした。");
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

} // namespace

QString BookTitleOfFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return kMissingBookTitle;
    QByteArray bytes;
    if (!ReadFileBytes(path, &bytes, kTitleReadLimit))
        return QString();
    const QStringList lines = SplitSjisLines(bytes);
    const int tag = lines.indexOf(kBookTitleTag);
    if (tag >= 0)
        return tag + 1 < lines.size() ? lines[tag + 1] : QString();
    return lines.isEmpty() ? QString() : lines[0];
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

TLibrary::TLibrary(PromptPort& prompt, LibraryPeers& peers, const QString& startupFolder)
    : Unpack(
        [](const QString& archive, const QString& folder) { return UnpackBook(archive, folder); })
    , prompt_(prompt)
    , peers_(peers)
    , startupFolder_(startupFolder)
{
}

void TLibrary::Create()
{
    Busy = true;
    ReadBookList(startupFolder_, &list_);
    Busy = false;
    RefreshTitles();
}

bool TLibrary::RefreshTitles()
{
    if (Busy)
        return false;
    Busy = true;
    for (BookListEntry& entry : list_.Entries) {
        if (entry.Slot < 0 || entry.Slot >= TBookList::kSlotCount)
            continue;
        entry.Title
            = BookTitleOfFile(ResolveBookPath(startupFolder_, list_.Slots[entry.Slot].FileName));
    }
    Busy = false;
    return true;
}

bool TLibrary::ActionAllowed()
{
    return !Busy && peers_.ConfirmDiscard();
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

void TLibrary::AddPmk(const QString& path)
{
    if (!HasFreeSlot() || !peers_.LoadBook(path))
        return;
    list_.AddBook(QFileInfo(path).absoluteFilePath(), peers_.BookTitle());
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
    if (!unpacked.ok && !unpacked.message.isEmpty())
        prompt_.ShowMessage(MessageKind::Warning, kCaption, unpacked.message);
    const QString book = FindUnpackedBook(folder);
    if (book.isEmpty()) {
        prompt_.ShowMessage(MessageKind::Information, kCaption, kNoBookInArchive);
        return;
    }
    if (!HasFreeSlot() || !peers_.LoadBook(book))
        return;
    list_.AddBook(book, peers_.BookTitle());
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
    if (Busy)
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
