#include "editor/distribution.h"

#include "archive/archive_operations.h"
#include "book/book_list.h"
#include "book/novel_page.h"
#include "book/open_book.h"
#include "platform/bitmap.h"
#include "platform/jpeg_codec.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace pimoko {
namespace {

const QString kNothingMade = QStringLiteral("配布ファイルは作成していません。");

bool WriteWhole(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written = file.write(bytes) == bytes.size();
    return file.flush() && written;
}

// A name beside the archive for the new one while it is packed, so that a failed pack
// leaves the old archive as it was and never a torn one under the chosen name.
QString FreeTemporaryArchive(const QString& archivePath)
{
    for (int n = 1;; ++n) {
        const QString candidate = archivePath + QStringLiteral(".%1.lzh").arg(n);
        if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink())
            return candidate;
    }
}

// Replaces target by source in one step (a reader sees the old archive or the new one).
bool ReplaceFile(const QString& source, const QString& target)
{
    std::error_code error;
    std::filesystem::rename(
        QFileInfo(source).filesystemFilePath(), QFileInfo(target).filesystemFilePath(), error);
    return !error;
}

struct RunGuard {
    bool& flag;
    explicit RunGuard(bool& f)
        : flag(f)
    {
        flag = true;
    }
    ~RunGuard() { flag = false; }
    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;
};

} // namespace

TDistribution::TDistribution(const QString& startupFolder)
    : startupFolder_(startupFolder)
{
}

DistributionResult TDistribution::Run(TOpenBook& book)
{
    if (building_)
        return DistributionResult();
    RunGuard guard(building_);
    result_ = DistributionResult();
    book.WriteRuntimeBook(Options.convertToJpeg);
    if (result_.outcome == DistributionResult::Outcome::NotRun)
        result_.outcome = DistributionResult::Outcome::Stopped;
    return result_;
}

void TDistribution::PrepareDistNames(TOpenBook& book)
{
    names_.PrepareDistNames(book);
}

void TDistribution::Fail(const QString& message)
{
    result_.outcome = DistributionResult::Outcome::Failed;
    result_.message = message + QLatin1Char('\n') + kNothingMade;
}

void TDistribution::DistributionFolderNotMade(const QString& folder)
{
    result_ = DistributionResult();
    Fail(QStringLiteral("作業用のフォルダ %1 を作成できませんでした。")
             .arg(QDir::toNativeSeparators(folder)));
}

void TDistribution::FinishDistribution(const TOpenBook& book, const QString& folder,
    const QString& runtimeBookPath, const QString& archivePath)
{
    (void)runtimeBookPath;
    result_ = DistributionResult();
    result_.archivePath = archivePath;
    const bool ok = CopyMedia(book, folder) && (!Options.includePlayer || CopyPlayer(book, folder));
    if (ok) {
        if (OnPacking)
            OnPacking();
        if (Pack(folder, archivePath))
            result_.outcome = DistributionResult::Outcome::Built;
    }
    QDir(folder).removeRecursively();
}

bool TDistribution::CopyMedia(const TOpenBook& book, const QString& folder)
{
    int total = 0;
    for (int n = 1; n <= TOpenBook::kPageCount; ++n)
        total += book.Page(n).InUse ? 1 : 0;

    // A picture used by many pages is converted once: the same source gives the same file.
    QStringList converted;
    auto skip = [this](const QString& source) {
        if (!result_.skipped.contains(source))
            result_.skipped << source;
    };
    auto copyUnchanged = [&](const QString& source, const QString& target) {
        if (!QFileInfo(source).isFile()) {
            skip(source);
            return true;
        }
        if (QFileInfo::exists(target) || QFile::copy(source, target))
            return true;
        Fail(QStringLiteral("%1 を作業用のフォルダにコピーできませんでした。")
                 .arg(QDir::toNativeSeparators(source)));
        return false;
    };
    auto writeJpeg
        = [&](const QString& source, const QImage& image, int quality, const QString& target) {
              if (converted.contains(target))
                  return true;
              const QByteArray jpeg = EncodeJpeg(image, quality);
              if (!jpeg.isEmpty() && WriteWhole(target, jpeg)) {
                  converted << target;
                  return true;
              }
              Fail(QStringLiteral("%1 をJPEGにして保存できませんでした。")
                       .arg(QDir::toNativeSeparators(source)));
              return false;
          };

    int done = 0;
    for (int n = 1; n <= TOpenBook::kPageCount; ++n) {
        const TNovelPage& page = book.Page(n);
        if (!page.InUse)
            continue;
        if (!page.PictureFile.isEmpty()) {
            const QString source = ResolveMediaFile(page.PictureFile, book.BookFolder);
            const QString target = JoinPath(folder, page.RuntimePictureName(Options.convertToJpeg));
            const bool bmp = HasExtension(page.PictureFile, QStringLiteral(".bmp"));
            const bool jpg = HasExtension(page.PictureFile, QStringLiteral(".jpg"));
            bool ok = true;
            if (page.ClipMode || !Options.convertToJpeg) {
                ok = copyUnchanged(source, target);
            } else if (bmp) {
                const QImage image = QFileInfo(source).isFile() ? ReadBmp(source) : QImage();
                if (image.isNull())
                    skip(source);
                else
                    ok = writeJpeg(source, image, Options.jpegQuality, target);
            } else if (jpg && Options.recompress) {
                const JpegResult decoded = ReadJpeg(source);
                // A picture that does not decode whole travels as it is.
                if (decoded.status == JpegStatus::Ok)
                    ok = writeJpeg(source, decoded.image, Options.recompressQuality, target);
                else
                    ok = copyUnchanged(source, target);
            } else if (jpg) {
                ok = copyUnchanged(source, target);
            }
            if (!ok)
                return false;
        }
        if (!page.SoundFile.isEmpty()
            && !copyUnchanged(ResolveMediaFile(page.SoundFile, book.BookFolder),
                JoinPath(folder, page.RuntimeSoundName())))
            return false;
        ++done;
        if (OnProgress)
            OnProgress(done, total);
    }
    return true;
}

bool TDistribution::CopyPlayer(const TOpenBook& book, const QString& folder)
{
    const QString player
        = FindExistingPath(JoinPath(JoinPath(startupFolder_, kPlayerFolderName), kPlayerFileName));
    // The reader was promised a player; an archive without one is not what was asked for.
    if (!QFileInfo(player).isFile()) {
        Fail(QStringLiteral("プレイヤー %1 が見つかりません。")
                 .arg(QDir::toNativeSeparators(player)));
        return false;
    }
    const QString target = JoinPath(folder, kPlayerFileName);
    if (!QFileInfo::exists(target) && !QFile::copy(player, target)) {
        Fail(QStringLiteral("%1 を作業用のフォルダにコピーできませんでした。")
                 .arg(QDir::toNativeSeparators(player)));
        return false;
    }
    if (!WriteDistributionBookList(folder, book.BookTitle)) {
        Fail(QStringLiteral("%1 を書き込めませんでした。").arg(kDistributionListFileName));
        return false;
    }
    return true;
}

bool TDistribution::Pack(const QString& folder, const QString& archivePath)
{
    // Packing into the old archive would only update it, keeping what an earlier build
    // put there (a player, media no longer used): the new archive is made whole beside
    // it and then takes its place.
    const QString temporary = FreeTemporaryArchive(archivePath);
    const ArchiveResult packed = PackFolder(folder, temporary);
    if (!packed.ok || !QFileInfo(temporary).isFile()) {
        QFile::remove(temporary);
        QString message = QStringLiteral("配布ファイル %1 を作成できませんでした。")
                              .arg(QDir::toNativeSeparators(archivePath));
        if (!packed.message.trimmed().isEmpty())
            message += QLatin1Char('\n') + packed.message.trimmed();
        Fail(message);
        return false;
    }
    if (!ReplaceFile(temporary, archivePath)) {
        QFile::remove(temporary);
        Fail(QStringLiteral("配布ファイル %1 を書き込めませんでした。")
                 .arg(QDir::toNativeSeparators(archivePath)));
        return false;
    }
    return true;
}

} // namespace pimoko
