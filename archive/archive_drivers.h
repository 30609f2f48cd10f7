#pragma once

#include "archive/archiver.h"

#include <memory>

namespace pimoko {

class TLha32 : public TLibraryArchiver {
public:
    TLha32();
};

// ZIP reads through UNZIP32.DLL and writes through ZIP32J.DLL; LMZIP32.DLL stands in
// for either. A missing library is told when the operation that needs it is asked for.
class TZip32 : public TArchiver {
public:
    TZip32();
    ~TZip32() override;
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
    bool CheckArchive(const QString& archive, int mode) override;

private:
    TLibraryArchiver& Reader();
    TLibraryArchiver& Writer();
    std::unique_ptr<TLibraryArchiver> reader_, writer_;
};

class TCab32 : public TLibraryArchiver {
public:
    TCab32();
};

class TArj32 : public TLibraryArchiver {
public:
    TArj32();
};

class TTar32 : public TLibraryArchiver {
public:
    TTar32();
};

class TTgz32 : public TLibraryArchiver {
public:
    TTgz32();
};

class TBZ232 : public TLibraryArchiver {
public:
    TBZ232();
};

class TRar32 : public TLibraryArchiver {
public:
    TRar32();
};

class TBGA32 : public TLibraryArchiver {
public:
    TBGA32();
};

// The driver of a type, with its library loaded (LoadDLL raises EArchiver when the
// library or one of its functions is missing); nullptr for a type without a driver.
std::unique_ptr<TArchiver> CreateArchiver(TArchiverType type);

} // namespace pimoko
