#include "archive/archiver.h"

#include "platform/sjis_codec.h"
#include "unlha32/unlha32_api.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstring>
#include <vector>

namespace pimoko {

namespace archive_messages {
const char* const kNoDriver = "書庫の形式を判別できません。";
const char* const kTypeWithoutDriver = "書庫の形式を特定できませんでした。";
const char* const kNoPack = "この形式では書庫ファイルの作成をサポートしておりません。";
const char* const kNoDelete = "この形式の書庫ではファイルの削除をサポートしておりません。";
const char* const kNoUpdate = "この形式の書庫では書庫の更新をサポートしておりません。";
const char* const kNoSfx = "この形式では自己解凍書庫の作成をサポートしておりません。";
const char* const kNoExtractMem = "この形式ではメモリへの展開をサポートしておりません。";
const char* const kNoCheck = "この形式では書庫チェック機能をサポートしておりません。";
} // namespace archive_messages

using namespace archive_messages;

EArchiver::EArchiver(const QString& message)
    : std::runtime_error(message.toStdString())
    , message_(message)
{
}

namespace {

QString& LibraryFolderOverride()
{
    static QString folder;
    return folder;
}

[[noreturn]] void Raise(const char* message)
{
    throw EArchiver(QString::fromUtf8(message));
}

// The library reads its command line in CP932; a character CP932 cannot hold would
// turn into "?" and one it writes onto a look-alike's code (〜 as ～) would read back
// as another, either naming another file; and a double quote would end a quoted item
// early, so both stop the operation here.
QByteArray EncodeCommandLine(const QString& line)
{
    SjisEncoding encoded = EncodeSjis(line);
    if (!encoded.exact()) {
        throw EArchiver(QStringLiteral("Shift_JIS で表せない文字を含む名前は書庫で扱えません。")
            + QStringLiteral("\n") + line);
    }
    return encoded.bytes;
}

// Each name goes into the command line quoted and in CP932, so a double quote or a
// character CP932 cannot hold would make the library act on another file.
void CheckName(const QString& name)
{
    if (name.contains(QLatin1Char('"')))
        throw EArchiver(QStringLiteral("名前に \" を含むファイルは書庫で扱えません。\n") + name);
    if (!EncodeSjis(name).exact()) {
        throw EArchiver(
            QStringLiteral("Shift_JIS で表せない文字を含む名前は書庫で扱えません。\n") + name);
    }
}

QString DecodeOutput(const char* bytes, size_t capacity)
{
    size_t length = strnlen(bytes, capacity);
    return SjisDisplayText(DecodeSjis(QByteArray(bytes, static_cast<int>(length)))).trimmed();
}

TArchiveEntry ToEntry(const UnlhaEntryInfo& info)
{
    TArchiveEntry entry;
    entry.FileName = SjisDisplayText(DecodeSjis(
        QByteArray(info.fileName, static_cast<int>(strnlen(info.fileName, sizeof info.fileName)))));
    entry.Method = QString::fromLatin1(
        info.method, static_cast<int>(strnlen(info.method, sizeof info.method)));
    entry.OriginalSize = static_cast<qint64>(info.originalSize);
    entry.CompressedSize = static_cast<qint64>(info.compressedSize);
    entry.Modified = info.modified;
    entry.Crc = info.crc;
    return entry;
}

QString Switches(const TArchiverOptions& o)
{
    QString s;
    auto number = [&s](const char* name, const std::optional<int>& v) {
        if (v)
            s += QStringLiteral(" ") + QLatin1String(name) + QString::number(*v);
    };
    number("-h", o.HeaderLevel);
    number("-r", o.RecursiveMode);
    number("-x", o.PathMode);
    number("-a", o.AttributeMode);
    if (o.NoTimeCheck)
        s += QStringLiteral(" -c");
    if (o.NoConfirm)
        s += QStringLiteral(" -m");
    if (o.NoIndicator)
        s += QStringLiteral(" -n");
    if (o.StoreOnly)
        s += QStringLiteral(" -z");
    return s;
}

QString Quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

constexpr size_t kOutputSize = 64 * 1024;

} // namespace

QString ArchiverLibraryFolder()
{
    if (!LibraryFolderOverride().isEmpty())
        return LibraryFolderOverride();
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return QFileInfo(exe).absolutePath();
}

void SetArchiverLibraryFolder(const QString& folder)
{
    LibraryFolderOverride() = folder;
}

QString ArchiverLibraryFileName(const QString& windowsName)
{
    QString base = windowsName;
    if (base.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive))
        base.chop(4);
    return QStringLiteral("lib") + base.toLower() + QStringLiteral(".so");
}

QString BuildArchiverCommandLine(QChar command, const TArchiverOptions& options,
    const QString& archive, const QString& folder, const QStringList& fileNames)
{
    QString line(command);
    line += QStringLiteral(" -+");
    line += Switches(options);
    line += QLatin1Char(' ') + options.UserOptions;
    line += QLatin1Char(' ') + Quoted(archive);
    QString base = folder;
    if (!base.endsWith(QLatin1Char('\\')))
        base += QLatin1Char('\\');
    line += QLatin1Char(' ') + Quoted(base);
    for (const QString& name : fileNames)
        line += QLatin1Char(' ') + Quoted(name);
    line += QLatin1Char(' ') + options.UserFileList;
    return line;
}

// ---------------------------------------------------------------------------------------

bool ArchiverLibrary::Load(const QString& windowsName)
{
    Unload();
    path_ = QDir(ArchiverLibraryFolder()).filePath(ArchiverLibraryFileName(windowsName));
    if (!QFileInfo(path_).isFile())
        return false;
    auto library = std::make_unique<QLibrary>(path_);
    if (!library->load())
        return false;
    library_ = std::move(library);
    return true;
}

void ArchiverLibrary::Unload()
{
    if (library_)
        library_->unload();
    library_.reset();
}

void* ArchiverLibrary::Resolve(const QString& prefix, const QString& name)
{
    QString function = prefix + name;
    QFunctionPointer p = library_ ? library_->resolve(function.toLatin1().constData()) : nullptr;
    if (!p) {
        throw EArchiver(path_ + QStringLiteral(" に ") + function
            + QStringLiteral(" のエントリが見つかりません。"));
    }
    return reinterpret_cast<void*>(p);
}

// ---------------------------------------------------------------------------------------

TArchiver::~TArchiver() = default;

void* TArchiver::OpenArchive(void*, const QString&, unsigned long)
{
    return nullptr;
}
int TArchiver::FindFirst(void*, const QString&, TArchiveEntry*)
{
    return UNLHA_NOT_FOUND;
}
int TArchiver::FindNext(void*, TArchiveEntry*)
{
    return UNLHA_NOT_FOUND;
}
int TArchiver::CloseArchive(void*)
{
    return 0;
}

int TArchiver::Extract(
    void*, const QString&, const QStringList&, const QString&, const TArchiverOptions&, QString*)
{
    Raise(kNoDriver);
}

int TArchiver::Pack(
    void*, const QString&, const QStringList&, const QString&, const TArchiverOptions&, QString*)
{
    Raise(kNoPack);
}

int TArchiver::Delete(void*, const QString&, const QStringList&, const TArchiverOptions&, QString*)
{
    Raise(kNoDelete);
}

int TArchiver::Update(
    void*, const QString&, const QStringList&, const QString&, const TArchiverOptions&, QString*)
{
    Raise(kNoUpdate);
}

int TArchiver::MakeSFX(void*, const QString&, const QString&, const TArchiverOptions&, QString*)
{
    Raise(kNoSfx);
}

int TArchiver::ExtractMem(
    void*, const QString&, const QString&, QByteArray*, const TArchiverOptions&)
{
    Raise(kNoExtractMem);
}

bool TArchiver::CheckArchive(const QString&, int)
{
    Raise(kNoCheck);
}
bool TArchiver::SetOwnerWindow(void*)
{
    return true;
}
bool TArchiver::KillOwnerWindow(void*)
{
    return true;
}

// ---------------------------------------------------------------------------------------

struct TLibraryArchiver::Functions {
    UnlhaMainFn main = nullptr;
    UnlhaOpenArchiveFn open = nullptr;
    UnlhaCloseArchiveFn close = nullptr;
    UnlhaFindFirstFn findFirst = nullptr;
    UnlhaFindNextFn findNext = nullptr;
    UnlhaCheckArchiveFn check = nullptr;
    UnlhaSetOwnerWindowExFn setOwner = nullptr;
    UnlhaKillOwnerWindowExFn killOwner = nullptr;
    UnlhaExtractMemFn extractMem = nullptr;
};

TLibraryArchiver::TLibraryArchiver(
    QString windowsName, QString prefix, QString missingMessage, Offers offers)
    : windowsName_(std::move(windowsName))
    , prefix_(std::move(prefix))
    , missingMessage_(std::move(missingMessage))
    , offers_(offers)
{
}

TLibraryArchiver::~TLibraryArchiver()
{
    FreeDLL();
}

void TLibraryArchiver::LoadDLL()
{
    FreeDLL();
    if (!library_.Load(windowsName_))
        throw EArchiver(missingMessage_);
    auto fn = std::make_unique<Functions>();
    try {
        fn->main = reinterpret_cast<UnlhaMainFn>(library_.Resolve(prefix_, QString()));
        fn->open = reinterpret_cast<UnlhaOpenArchiveFn>(
            library_.Resolve(prefix_, QStringLiteral("OpenArchive")));
        fn->close = reinterpret_cast<UnlhaCloseArchiveFn>(
            library_.Resolve(prefix_, QStringLiteral("CloseArchive")));
        fn->findFirst = reinterpret_cast<UnlhaFindFirstFn>(
            library_.Resolve(prefix_, QStringLiteral("FindFirst")));
        fn->findNext = reinterpret_cast<UnlhaFindNextFn>(
            library_.Resolve(prefix_, QStringLiteral("FindNext")));
        fn->check = reinterpret_cast<UnlhaCheckArchiveFn>(
            library_.Resolve(prefix_, QStringLiteral("CheckArchive")));
        fn->setOwner = reinterpret_cast<UnlhaSetOwnerWindowExFn>(
            library_.Resolve(prefix_, QStringLiteral("SetOwnerWindowEx")));
        fn->killOwner = reinterpret_cast<UnlhaKillOwnerWindowExFn>(
            library_.Resolve(prefix_, QStringLiteral("KillOwnerWindowEx")));
        fn->extractMem = reinterpret_cast<UnlhaExtractMemFn>(
            library_.Resolve(prefix_, QStringLiteral("ExtractMem")));
    } catch (...) {
        library_.Unload();
        throw;
    }
    fn_ = std::move(fn);
}

void TLibraryArchiver::FreeDLL()
{
    fn_.reset();
    library_.Unload();
}

int TLibraryArchiver::Run(void* owner, QChar command, const QString& archive, const QString& folder,
    const QStringList& fileNames, const TArchiverOptions& options, QString* output)
{
    if (!fn_)
        LoadDLL();
    CheckName(archive);
    CheckName(folder);
    for (const QString& name : fileNames)
        CheckName(name);
    QByteArray line
        = EncodeCommandLine(BuildArchiverCommandLine(command, options, archive, folder, fileNames));
    std::vector<char> buffer(kOutputSize, '\0');
    int code = fn_->main(owner, line.constData(), buffer.data(), buffer.size());
    if (output)
        *output = DecodeOutput(buffer.data(), buffer.size());
    return code;
}

void* TLibraryArchiver::OpenArchive(void* owner, const QString& archive, unsigned long mode)
{
    if (!fn_)
        LoadDLL();
    return fn_->open(owner, EncodeCommandLine(archive).constData(), mode);
}

int TLibraryArchiver::FindFirst(void* handle, const QString& wildName, TArchiveEntry* entry)
{
    if (!fn_)
        LoadDLL();
    UnlhaEntryInfo info {};
    int code = fn_->findFirst(handle, EncodeCommandLine(wildName).constData(), &info);
    if (code == 0 && entry)
        *entry = ToEntry(info);
    return code;
}

int TLibraryArchiver::FindNext(void* handle, TArchiveEntry* entry)
{
    if (!fn_)
        LoadDLL();
    UnlhaEntryInfo info {};
    int code = fn_->findNext(handle, &info);
    if (code == 0 && entry)
        *entry = ToEntry(info);
    return code;
}

int TLibraryArchiver::CloseArchive(void* handle)
{
    if (!fn_)
        LoadDLL();
    return fn_->close(handle);
}

int TLibraryArchiver::Extract(void* owner, const QString& archive, const QStringList& fileNames,
    const QString& folder, const TArchiverOptions& options, QString* output)
{
    return Run(owner, QLatin1Char('x'), archive, folder, fileNames, options, output);
}

int TLibraryArchiver::Pack(void* owner, const QString& archive, const QStringList& fileNames,
    const QString& baseFolder, const TArchiverOptions& options, QString* output)
{
    if (!offers_.pack)
        Raise(kNoPack);
    return Run(owner, QLatin1Char('u'), archive, baseFolder, fileNames, options, output);
}

int TLibraryArchiver::Delete(void* owner, const QString& archive, const QStringList& fileNames,
    const TArchiverOptions& options, QString* output)
{
    if (!offers_.remove)
        Raise(kNoDelete);
    return Run(owner, QLatin1Char('d'), archive, QString(), fileNames, options, output);
}

int TLibraryArchiver::Update(void* owner, const QString& archive, const QStringList& fileNames,
    const QString& baseFolder, const TArchiverOptions& options, QString* output)
{
    if (!offers_.update)
        Raise(kNoUpdate);
    return Run(owner, QLatin1Char('f'), archive, baseFolder, fileNames, options, output);
}

int TLibraryArchiver::MakeSFX(void* owner, const QString& archive, const QString& folder,
    const TArchiverOptions& options, QString* output)
{
    if (!offers_.sfx)
        Raise(kNoSfx);
    return Run(owner, QLatin1Char('s'), archive, folder, {}, options, output);
}

int TLibraryArchiver::ExtractMem(void* owner, const QString& archive, const QString& fileName,
    QByteArray* data, const TArchiverOptions& options)
{
    if (!fn_)
        LoadDLL();
    CheckName(archive);
    CheckName(fileName);
    QString text = QStringLiteral("x -+") + Switches(options) + QLatin1Char(' ')
        + options.UserOptions + QLatin1Char(' ') + Quoted(archive) + QLatin1Char(' ')
        + Quoted(fileName);
    QByteArray line = EncodeCommandLine(text);
    QByteArray buffer(1 << 20, '\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        int64_t modified = 0;
        unsigned short attributes = 0;
        unsigned long written = 0;
        int code = fn_->extractMem(owner, line.constData(),
            reinterpret_cast<unsigned char*>(buffer.data()),
            static_cast<unsigned long>(buffer.size()), &modified, &attributes, &written);
        if (code == UNLHA_ERROR_BUFFER && attempt == 0 && written > 0 && written < (1ul << 31)) {
            buffer.resize(static_cast<int>(written));
            continue;
        }
        if (code == 0 && data)
            *data = buffer.left(static_cast<int>(written));
        return code;
    }
    return UNLHA_ERROR_BUFFER;
}

bool TLibraryArchiver::CheckArchive(const QString& archive, int mode)
{
    if (!fn_)
        LoadDLL();
    return fn_->check(EncodeCommandLine(archive).constData(), mode) != 0;
}

bool TLibraryArchiver::SetOwnerWindow(void* owner)
{
    if (!fn_)
        LoadDLL();
    return fn_->setOwner(owner, nullptr) != 0;
}

bool TLibraryArchiver::KillOwnerWindow(void* owner)
{
    if (!fn_)
        LoadDLL();
    return fn_->killOwner(owner) != 0;
}

} // namespace pimoko
