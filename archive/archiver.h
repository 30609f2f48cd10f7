#pragma once

#include "archive/archiver_types.h"

#include <QByteArray>
#include <QLibrary>
#include <QStringList>

#include <memory>

namespace pimoko {

// Messages of the layer, shared by the drivers.
namespace archive_messages {
extern const char* const kNoDriver; // "書庫の形式を判別できません。"
extern const char* const kTypeWithoutDriver; // "書庫の形式を特定できませんでした。"
extern const char* const kNoPack;
extern const char* const kNoDelete;
extern const char* const kNoUpdate;
extern const char* const kNoSfx;
extern const char* const kNoExtractMem;
extern const char* const kNoCheck;
} // namespace archive_messages

// The folder archiver libraries are loaded from: the program's folder (the folder of
// the running executable when there is no application object). Tests may point it
// elsewhere; an empty folder restores the default.
QString ArchiverLibraryFolder();
void SetArchiverLibraryFolder(const QString& folder);

// The file a Windows library name stands for here: "UNLHA32.DLL" -> "libunlha32.so".
QString ArchiverLibraryFileName(const QString& windowsName);

// The command line a library receives: the command letter, then "-+", the switches
// that are set, the user options, the quoted archive, the quoted folder ending in "\",
// each quoted file name and the user file list, each item after one space.
QString BuildArchiverCommandLine(QChar command, const TArchiverOptions& options,
    const QString& archive, const QString& folder, const QStringList& fileNames);

// A loaded archiver library with its functions looked up by prefix + name.
class ArchiverLibrary {
public:
    // Loads the library; false when it is not there.
    bool Load(const QString& windowsName);
    void Unload();
    bool IsLoaded() const { return library_ && library_->isLoaded(); }
    QString Path() const { return path_; }
    // The function prefix + name; raises EArchiver when the library lacks it.
    void* Resolve(const QString& prefix, const QString& name);

private:
    std::unique_ptr<QLibrary> library_;
    QString path_;
};

// The base of every driver. The operations a format does not offer raise EArchiver
// with the message that says so. Results are the library's codes (0 = success) and
// its output text.
class TArchiver {
public:
    virtual ~TArchiver();

    virtual void LoadDLL() = 0;
    virtual void FreeDLL() = 0;
    virtual void* OpenArchive(void* owner, const QString& archive, unsigned long mode);
    virtual int FindFirst(void* handle, const QString& wildName, TArchiveEntry* entry);
    virtual int FindNext(void* handle, TArchiveEntry* entry);
    virtual int CloseArchive(void* handle);
    virtual int Extract(void* owner, const QString& archive, const QStringList& fileNames,
        const QString& folder, const TArchiverOptions& options, QString* output);
    virtual int Pack(void* owner, const QString& archive, const QStringList& fileNames,
        const QString& baseFolder, const TArchiverOptions& options, QString* output);
    virtual int Delete(void* owner, const QString& archive, const QStringList& fileNames,
        const TArchiverOptions& options, QString* output);
    virtual int Update(void* owner, const QString& archive, const QStringList& fileNames,
        const QString& baseFolder, const TArchiverOptions& options, QString* output);
    virtual int MakeSFX(void* owner, const QString& archive, const QString& folder,
        const TArchiverOptions& options, QString* output);
    virtual int ExtractMem(void* owner, const QString& archive, const QString& fileName,
        QByteArray* data, const TArchiverOptions& options);
    virtual bool CheckArchive(const QString& archive, int mode);
    virtual bool SetOwnerWindow(void* owner);
    virtual bool KillOwnerWindow(void* owner);
};

// A driver over one library whose functions all share one prefix.
class TLibraryArchiver : public TArchiver {
public:
    struct Offers {
        bool pack = false, remove = false, update = false, sfx = false;
    };
    TLibraryArchiver(QString windowsName, QString prefix, QString missingMessage, Offers offers);
    ~TLibraryArchiver() override;

    void LoadDLL() override;
    void FreeDLL() override;
    void* OpenArchive(void* owner, const QString& archive, unsigned long mode) override;
    int FindFirst(void* handle, const QString& wildName, TArchiveEntry* entry) override;
    int FindNext(void* handle, TArchiveEntry* entry) override;
    int CloseArchive(void* handle) override;
    int Extract(void* owner, const QString& archive, const QStringList& fileNames,
        const QString& folder, const TArchiverOptions& options, QString* output) override;
    int Pack(void* owner, const QString& archive, const QStringList& fileNames,
        const QString& baseFolder, const TArchiverOptions& options, QString* output) override;
    int Delete(void* owner, const QString& archive, const QStringList& fileNames,
        const TArchiverOptions& options, QString* output) override;
    int Update(void* owner, const QString& archive, const QStringList& fileNames,
        const QString& baseFolder, const TArchiverOptions& options, QString* output) override;
    int MakeSFX(void* owner, const QString& archive, const QString& folder,
        const TArchiverOptions& options, QString* output) override;
    int ExtractMem(void* owner, const QString& archive, const QString& fileName, QByteArray* data,
        const TArchiverOptions& options) override;
    bool CheckArchive(const QString& archive, int mode) override;
    bool SetOwnerWindow(void* owner) override;
    bool KillOwnerWindow(void* owner) override;

    QString LibraryPath() const { return library_.Path(); }

protected:
    // Sends one command line to the library's main function.
    int Run(void* owner, QChar command, const QString& archive, const QString& folder,
        const QStringList& fileNames, const TArchiverOptions& options, QString* output);

private:
    struct Functions;
    QString windowsName_, prefix_, missingMessage_;
    Offers offers_;
    ArchiverLibrary library_;
    std::unique_ptr<Functions> fn_;
};

} // namespace pimoko
