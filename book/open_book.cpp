#include "book/open_book.h"

#include "book/book_lines.h"
#include "platform/line_file.h"
#include "platform/numbers.h"
#include "platform/paths.h"
#include "platform/prompt_port.h"
#include "platform/sjis_codec.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <stdexcept>

namespace pimoko {
namespace {

const QString kCaption = QStringLiteral("ピモコ");
const QString kCannotOpen = QStringLiteral("ファイルを開けませんでした。");
const QString kCannotChangeFolder = QStringLiteral("ディレクトリを変更出来ませんでした。");
const QString kRefusedVersion = QStringLiteral("このバージョンのピモコファイルは開けません。");
const QString kCannotSaveAuto = QStringLiteral("ファイルを保存できません");
const QString kAutoSaved = QStringLiteral("ファイルを自動保存しました");
const QString kCannotSave = QStringLiteral("ファイルを保存できませんでした。");
const QString kSaveChanges = QStringLiteral("絵本が変更されています。保存しますか？");
const QString kAlreadyExists = QStringLiteral(" はすでに存在しています。上書きしますか？");
const QString kRegister = QStringLiteral("この絵本をリストに登録しますか？");
const QString kNewTitle = QStringLiteral("新規ピモコ");
const QString kEquals = QString(45, QLatin1Char('='));
const QString kFileKind = QStringLiteral("モルカ絵本ファイルVer1.26");
const QString kRuntimeBookName = QStringLiteral("PBKRun.pmk");
// 300 full pages come to a few MB. A larger file is no book of ours, and reading it whole
// (its text and an index of its lines) would take many times its size in memory.
constexpr qint64 kMaxBookFileBytes = qint64(16) << 20;

} // namespace

TOpenBook::TOpenBook(PromptPort& prompt, BookHooks& hooks, const QString& startupFolder)
    : prompt_(prompt)
    , hooks_(hooks)
    , startupFolder_(startupFolder)
    , pages_(kPageCount)
{
    BookFolder = startupFolder;
}

TOpenBook::TOpenBook(PromptPort& prompt, const QString& startupFolder)
    : TOpenBook(prompt, noHooks_, startupFolder)
{
}

TNovelPage& TOpenBook::Page(int n)
{
    if (n < 1 || n > kPageCount)
        throw std::out_of_range("page number outside 1..300");
    return pages_[n - 1];
}

const TNovelPage& TOpenBook::Page(int n) const
{
    return const_cast<TOpenBook*>(this)->Page(n);
}

void TOpenBook::EnterFolder(const QString& folder)
{
    if (!QDir::setCurrent(folder))
        prompt_.ShowMessage(MessageKind::Warning, kCaption, kCannotChangeFolder);
}

void TOpenBook::ClearPages()
{
    for (TNovelPage& p : pages_)
        p.Clear();
}

bool TOpenBook::LoadBook(const QString& givenPath)
{
    const QString path
        = QFileInfo(givenPath).isRelative() ? QFileInfo(givenPath).absoluteFilePath() : givenPath;
    if (!HasExtension(path, QStringLiteral(".pmk"))) {
        prompt_.ShowMessage(MessageKind::Information, kCaption, kCannotOpen);
        return false;
    }
    QByteArray bytes;
    if (!ReadFileBytes(path, &bytes, kMaxBookFileBytes)) {
        prompt_.ShowMessage(MessageKind::Information, kCaption, kCannotOpen);
        return false;
    }

    BookFilePath = path;
    BookFolder = FolderPart(path);
    EnterFolder(BookFolder);
    hooks_.ResetPageTitleList();
    ClearPages();
    hooks_.DropThumbnails();
    BookTitle.clear();
    CurrentPage = 1;

    const BookLines indexed(bytes);
    bytes.clear();
    int index = 0;
    if (indexed.size() > 0 && indexed.View(0) == TagText(BookTag::FileType)) {
        if (indexed.size() > 1 && indexed.View(1).contains(QLatin1Char('A'))) {
            // A clean empty book: nothing of the old one is left in the editor to be stored
            // into it, and a save goes to a new folder, never over the refused file.
            BookFilePath.clear();
            Escapement.clear();
            Modified = false;
            hooks_.ShowBookHeader(*this);
            hooks_.ShowFirstPage();
            prompt_.ShowMessage(MessageKind::Information, kCaption, kRefusedVersion);
            return false;
        }
        index = 2;
    }

    int pageBeingRead = 0;
    try {
        BookValueReader r(indexed, index);
        if (r.Seek(BookTag::BookTitle))
            r.Text(BookTitle);
        if (r.Seek(BookTag::Escapement))
            r.Text(Escapement);
        // The defaults are taken only once the whole header has been read: a bad number
        // in it changes none of them, since they go on into every book saved later in the
        // run and into the settings file at close.
        TBookDefaults d = Defaults();
        if (r.Seek(BookTag::Default)) {
            r.Text(d.DefaultFontName);
            r.Text(d.DefaultFontStyle);
            r.Int(d.DefaultFontHeight);
            r.Int(d.DefaultFontColor);
            r.Bool(d.DefaultShadow);
            r.Int(d.DefaultShadowColor);
            r.Bool(d.DefaultVertical);
            r.Int(d.DefaultTextX);
            r.Int(d.DefaultTextY);
            r.Int(d.DefaultCharDelay);
            QString wait = d.DefaultEffectWaitText;
            r.Text(wait);
            d.DefaultEffectWait = StrToInt(wait);
            d.DefaultEffectWaitText = wait;
        }
        if (r.Seek(BookTag::DefaultLinePitch))
            r.Int(d.DefaultLinePitch);
        if (r.Seek(BookTag::DefaultHighlight)) {
            r.Bool(d.DefaultHighlight);
            r.Int(d.DefaultHighlightLevel);
        }
        Defaults() = d;
        for (int n = 1; n <= kPageCount; ++n) {
            pageBeingRead = n;
            if (!Page(n).ReadBlock(indexed, index)) {
                // Stray tags after the last block must not leave an unused page half set.
                Page(n).Clear();
                break;
            }
        }
    } catch (const EConvertError& e) {
        // The pages read before the bad number stay; the page it was in is dropped, and
        // the file is not saved over, since the book in memory is only part of it.
        if (pageBeingRead > 0)
            Page(pageBeingRead).Clear();
        BookFilePath.clear();
        Modified = false;
        hooks_.ShowBookHeader(*this);
        hooks_.ShowFirstPage();
        prompt_.ShowMessage(MessageKind::Error, kCaption, e.message());
        return false;
    }

    Modified = false;
    hooks_.ShowBookHeader(*this);
    hooks_.ShowFirstPage();
    return true;
}

void TOpenBook::NewBook()
{
    BookFilePath.clear();
    BookFolder = startupFolder_;
    EnterFolder(BookFolder);
    Escapement.clear();
    ClearPages();
    hooks_.DropThumbnails();
    BookTitle = kNewTitle;
    hooks_.ShowBookHeader(*this);
    CurrentPage = 1;
    hooks_.ShowFirstPage();
    Modified = false;
    hooks_.SetPageFadeWaitField(DefaultEffectWaitText);
    hooks_.ResetPageTitleList();
}

QStringList TOpenBook::HeaderLines() const
{
    return { kEquals, kFileKind, TagText(BookTag::BookTitle), BookTitle,
        TagText(BookTag::Escapement), Escapement, TagText(BookTag::Default), DefaultFontName,
        DefaultFontStyle, IntToStr(DefaultFontHeight), IntToStr(DefaultFontColor),
        BoolToStr(DefaultShadow), IntToStr(DefaultShadowColor), BoolToStr(DefaultVertical),
        IntToStr(DefaultTextX), IntToStr(DefaultTextY), IntToStr(DefaultCharDelay),
        StoredFadeWaitText(*this), TagText(BookTag::DefaultLinePitch), IntToStr(DefaultLinePitch),
        TagText(BookTag::DefaultHighlight), BoolToStr(DefaultHighlight),
        IntToStr(DefaultHighlightLevel), kEquals };
}

QStringList TOpenBook::BookFileLines(bool runtime, bool convertToJpeg) const
{
    QStringList out = HeaderLines();
    for (int n = 1; n <= kPageCount; ++n) {
        if (runtime)
            Page(n).WriteRuntimeBlock(out, convertToJpeg);
        else
            Page(n).WriteBlock(out);
    }
    return out;
}

bool TOpenBook::EncodeBook(bool runtime, bool convertToJpeg, QByteArray* bytes)
{
    // One text for the whole book, so that it is encoded in one pass; the start of each
    // page's block is kept to name the page of a character that cannot be stored.
    QString text;
    text.reserve(qsizetype(1) << 20);
    for (const QString& line : HeaderLines())
        text.append(line).append(QLatin1String("\r\n", 2));
    std::vector<qsizetype> pageStarts(kPageCount + 1, 0);
    for (int n = 1; n <= kPageCount; ++n) {
        pageStarts[n] = text.size();
        Page(n).WriteBlockText(text, runtime, convertToJpeg);
    }
    SjisEncoding encoded = EncodeSjis(text);
    *bytes = std::move(encoded.bytes);
    if (encoded.ok())
        return true;

    const qsizetype at = encoded.unencodable.front();
    const int width = text[at].isHighSurrogate() ? 2 : 1;
    const QString ch = text.mid(at, width);
    const int page = static_cast<int>(
        std::upper_bound(pageStarts.begin() + 1, pageStarts.end(), at) - pageStarts.begin() - 1);
    const QString where
        = page > 0 ? QStringLiteral("%1ページ").arg(page) : QStringLiteral("絵本のタイトルか設定");
    const QString question = QStringLiteral("%1に保存できない文字「%2」があります（全部で%3文字）。"
                                            "「?」に置き換えて保存しますか？")
                                 .arg(where, ch)
                                 .arg(encoded.unencodable.size());
    hooks_.ShowEditorWindow();
    return prompt_.Ask(MessageKind::Warning, kCaption, question, Buttons::OkCancel) == Answer::Ok;
}

bool TOpenBook::WriteBookFile(const QString& path, const QByteArray& bytes)
{
    if (WriteFileAtomically(path, bytes))
        return true;
    prompt_.ShowMessage(MessageKind::Information, kCaption, kCannotSave);
    return false;
}

bool TOpenBook::SaveBook()
{
    if (hooks_.IsBusy())
        return false;
    hooks_.StorePage();
    QByteArray bytes;
    if (!EncodeBook(false, false, &bytes))
        return false;

    const bool autoSave = BookFilePath.isEmpty();
    const QString folderBefore = BookFolder;
    if (autoSave && !CreateAutoSaveFolder()) {
        prompt_.ShowMessage(MessageKind::Information, kCaption, kCannotSaveAuto);
        return false;
    }
    if (!WriteBookFile(BookFilePath, bytes)) {
        if (autoSave) {
            // The book is still never saved: the next save is an auto-save again, and is
            // listed. The dated folder made for this one goes when nothing is in it.
            QDir().rmdir(BookFolder);
            BookFilePath.clear();
            BookFolder = folderBefore;
            QDir::setCurrent(BookFolder);
        }
        return false;
    }
    // Told only once the file is really there.
    if (autoSave)
        prompt_.ShowMessage(MessageKind::Information, kCaption, kAutoSaved);
    Modified = false;
    if (autoSave)
        hooks_.RegisterInLibrary(BookFilePath, BookTitle);
    hooks_.SaveLibraryList();
    hooks_.RefreshLibraryTitles();
    return true;
}

bool TOpenBook::CreateAutoSaveFolder()
{
    const QString books = FindExistingPath(JoinPath(startupFolder_, QStringLiteral("BOOKS")));
    const QString folder = FreeDatedFolder(books, Today());
    if (folder.isEmpty() || !QDir().mkdir(folder))
        return false;
    BookFilePath = JoinPath(folder, QStringLiteral("NewBook.pmk"));
    BookFolder = folder;
    EnterFolder(BookFolder);
    return true;
}

bool TOpenBook::SaveBookAs()
{
    if (hooks_.IsBusy())
        return false;
    FileDialogRequest request;
    request.title = QStringLiteral("ピモコファイルの保存");
    request.filter = QStringLiteral("ピモコファイル(pmk)|*.pmk");
    request.defaultExt = QStringLiteral("pmk");
    request.defaultName = QStringLiteral("NewBook");
    request.initialFolder = BookFolder;
    const QString path = prompt_.SaveFileName(request);
    if (path.isEmpty()) {
        prompt_.ShowMessage(MessageKind::Information, kCaption, kCannotSave);
        return false;
    }
    if (!HasExtension(path, QStringLiteral(".pmk"))) {
        prompt_.ShowMessage(MessageKind::Information, kCaption, kCannotSave);
        hooks_.RefreshLibraryTitles();
        return false;
    }
    if (!ConfirmOverwrite(path)) {
        prompt_.ShowMessage(MessageKind::Information, kCaption, kCannotSave);
        return false;
    }
    hooks_.StorePage();
    QByteArray bytes;
    if (!EncodeBook(false, false, &bytes) || !WriteBookFile(path, bytes))
        return false;
    BookFilePath = path;
    Modified = false;
    hooks_.SaveLibraryList();
    if (prompt_.Ask(MessageKind::Question, kCaption, kRegister, Buttons::YesNo) == Answer::Yes)
        hooks_.RegisterInLibrary(path, BookTitle);
    hooks_.RefreshLibraryTitles();
    return true;
}

bool TOpenBook::ConfirmDiscard()
{
    if (!Modified)
        return true;
    hooks_.ShowEditorWindow();
    switch (prompt_.Ask(MessageKind::Warning, kCaption, kSaveChanges, Buttons::YesNoCancel)) {
    case Answer::No:
        return true;
    case Answer::Yes:
        SaveBook();
        return !Modified;
    default:
        return false;
    }
}

bool TOpenBook::ConfirmOverwrite(const QString& path)
{
    if (!QFileInfo::exists(path))
        return true;
    hooks_.ShowEditorWindow();
    return prompt_.Ask(MessageKind::Warning, kCaption, FileNamePart(path) + kAlreadyExists,
               Buttons::OkCancel)
        != Answer::Cancel;
}

bool TOpenBook::WriteRuntimeBook(bool convertToJpeg)
{
    if (BookFilePath.isEmpty())
        return false;
    hooks_.PrepareDistNames(*this);

    QString folder;
    for (int n = 1; n <= 99999 && folder.isEmpty(); ++n) {
        const QString candidate = JoinPath(BookFolder, QStringLiteral("Runtime(%1)").arg(n));
        if (!QFileInfo::exists(candidate))
            folder = candidate;
    }
    if (folder.isEmpty())
        return false;

    FileDialogRequest request;
    request.title = QStringLiteral("配布ファイルの作成");
    request.filter = QStringLiteral("配布ファイル(lzh)|*.lzh");
    request.defaultExt = QStringLiteral("lzh");
    request.defaultName = QStringLiteral("Runtime");
    request.initialFolder = BookFolder;
    const QString archive = prompt_.SaveFileName(request);
    if (archive.isEmpty() || !ConfirmOverwrite(archive))
        return false;

    hooks_.StorePage();
    QByteArray bytes;
    if (!EncodeBook(true, convertToJpeg, &bytes))
        return false;
    if (!QDir().mkdir(folder)) {
        hooks_.DistributionFolderNotMade(folder);
        return false;
    }
    const QString runtimeBook = JoinPath(folder, kRuntimeBookName);
    if (!WriteBookFile(runtimeBook, bytes)) {
        QDir(folder).removeRecursively();
        return false;
    }
    hooks_.FinishDistribution(folder, runtimeBook, archive);
    return true;
}

} // namespace pimoko
