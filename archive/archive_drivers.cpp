#include "archive/archive_drivers.h"

namespace pimoko {

namespace {

const char* const kLhaMissing = "Lha 形式書庫を扱うには UNLHA32.DLL が 必要です。";
const char* const kUnzipMissing
    = "ZIP 形式書庫の解凍には UNZIP32.DLL または LMZIP32.DLL が必要です。";
const char* const kZipMissing = "ZIP 形式書庫の作成には ZIP32J.DLL または LMZIP32.DLL が必要です。";
const char* const kCabMissing = "CAB 形式書庫を扱うには CAB32.DLL が 必要です。";
const char* const kArjMissing = "ARJ 形式書庫を扱うには UNARJ32J.DLL が 必要です。";
const char* const kTarMissing = "tar/tgz/taz/bz2 形式書庫を扱うには tar32.dll が 必要です。";
const char* const kRarMissing = "RAR 形式書庫を扱うには UNRAR32.DLL が 必要です。";
const char* const kBgaMissing = "Bga 形式書庫を扱うには BGA32.DLL が 必要です。";

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

using Offers = TLibraryArchiver::Offers;
constexpr Offers kReadOnly {};
constexpr Offers kReadWrite { true, false, false, false };
constexpr Offers kEverything { true, true, true, true };

// Loads the first of the libraries that is there; nullptr when none is. A library that
// is there but lacks a function raises.
std::unique_ptr<TLibraryArchiver> LoadFirst(
    std::initializer_list<const char*> names, const char* prefix)
{
    for (const char* name : names) {
        ArchiverLibrary probe;
        if (!probe.Load(QString::fromLatin1(name)))
            continue;
        probe.Unload();
        auto archiver = std::make_unique<TLibraryArchiver>(
            QString::fromLatin1(name), QString::fromLatin1(prefix), QString(), kReadWrite);
        archiver->LoadDLL();
        return archiver;
    }
    return nullptr;
}

} // namespace

TLha32::TLha32()
    : TLibraryArchiver(
        QStringLiteral("UNLHA32.DLL"), QStringLiteral("Unlha"), U(kLhaMissing), kEverything)
{
}

TCab32::TCab32()
    : TLibraryArchiver(
        QStringLiteral("CAB32.DLL"), QStringLiteral("Cab"), U(kCabMissing), kReadWrite)
{
}

TArj32::TArj32()
    : TLibraryArchiver(
        QStringLiteral("UNARJ32J.DLL"), QStringLiteral("Unarj"), U(kArjMissing), kReadOnly)
{
}

TTar32::TTar32()
    : TLibraryArchiver(
        QStringLiteral("tar32.dll"), QStringLiteral("Tar"), U(kTarMissing), kReadWrite)
{
}

TTgz32::TTgz32()
    : TLibraryArchiver(
        QStringLiteral("tar32.dll"), QStringLiteral("Tar"), U(kTarMissing), kReadWrite)
{
}

TBZ232::TBZ232()
    : TLibraryArchiver(
        QStringLiteral("tar32.dll"), QStringLiteral("Tar"), U(kTarMissing), kReadWrite)
{
}

TRar32::TRar32()
    : TLibraryArchiver(
        QStringLiteral("UNRAR32.DLL"), QStringLiteral("Unrar"), U(kRarMissing), kReadOnly)
{
}

TBGA32::TBGA32()
    : TLibraryArchiver(
        QStringLiteral("BGA32.DLL"), QStringLiteral("Bga"), U(kBgaMissing), kReadWrite)
{
}

// ---------------------------------------------------------------------------------------

TZip32::TZip32() = default;
TZip32::~TZip32() = default;

void TZip32::LoadDLL()
{
    FreeDLL();
    reader_ = LoadFirst({ "UNZIP32.DLL", "LMZIP32.DLL" }, "UnZip");
    writer_ = LoadFirst({ "ZIP32J.DLL", "LMZIP32.DLL" }, "Zip");
}

void TZip32::FreeDLL()
{
    reader_.reset();
    writer_.reset();
}

TLibraryArchiver& TZip32::Reader()
{
    if (!reader_)
        throw EArchiver(U(kUnzipMissing));
    return *reader_;
}

TLibraryArchiver& TZip32::Writer()
{
    if (!writer_)
        throw EArchiver(U(kZipMissing));
    return *writer_;
}

void* TZip32::OpenArchive(void* owner, const QString& archive, unsigned long mode)
{
    return Reader().OpenArchive(owner, archive, mode);
}

int TZip32::FindFirst(void* handle, const QString& wildName, TArchiveEntry* entry)
{
    return Reader().FindFirst(handle, wildName, entry);
}

int TZip32::FindNext(void* handle, TArchiveEntry* entry)
{
    return Reader().FindNext(handle, entry);
}
int TZip32::CloseArchive(void* handle)
{
    return Reader().CloseArchive(handle);
}

int TZip32::Extract(void* owner, const QString& archive, const QStringList& fileNames,
    const QString& folder, const TArchiverOptions& options, QString* output)
{
    return Reader().Extract(owner, archive, fileNames, folder, options, output);
}

int TZip32::Pack(void* owner, const QString& archive, const QStringList& fileNames,
    const QString& baseFolder, const TArchiverOptions& options, QString* output)
{
    return Writer().Pack(owner, archive, fileNames, baseFolder, options, output);
}

bool TZip32::CheckArchive(const QString& archive, int mode)
{
    return Reader().CheckArchive(archive, mode);
}

// ---------------------------------------------------------------------------------------

std::unique_ptr<TArchiver> CreateArchiver(TArchiverType type)
{
    std::unique_ptr<TArchiver> archiver;
    switch (type) {
    case atLha:
        archiver = std::make_unique<TLha32>();
        break;
    case atZip:
        archiver = std::make_unique<TZip32>();
        break;
    case atCab:
        archiver = std::make_unique<TCab32>();
        break;
    case atArj:
        archiver = std::make_unique<TArj32>();
        break;
    case atTar:
        archiver = std::make_unique<TTar32>();
        break;
    case atTgz:
        archiver = std::make_unique<TTgz32>();
        break;
    case atBZ2:
        archiver = std::make_unique<TBZ232>();
        break;
    case atRar:
        archiver = std::make_unique<TRar32>();
        break;
    case atBga:
        archiver = std::make_unique<TBGA32>();
        break;
    default:
        return nullptr;
    }
    archiver->LoadDLL();
    return archiver;
}

} // namespace pimoko
