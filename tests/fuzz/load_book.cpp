// LoadBook on arbitrary bytes. Whatever it accepts must save, and a saved book must load
// again into the same book: a save of the reloaded book gives the same bytes.
#include "book/open_book.h"
#include "platform/line_file.h"
#include "platform/prompt_port.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace pimoko;

namespace {

const QTemporaryDir& Folder()
{
    static QTemporaryDir dir;
    return dir;
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        std::abort();
}

QByteArray SavedBytes(const TOpenBook& book)
{
    return JoinSjisLines(book.BookFileLines());
}

} // namespace

// LoadBook makes the book's folder the current folder; libFuzzer's corpus and artifact
// paths may be relative, so the folder is put back after every input.
struct KeepCurrentFolder {
    QString saved = QDir::currentPath();
    ~KeepCurrentFolder() { QDir::setCurrent(saved); }
};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const KeepCurrentFolder keep;
    const QString path = Folder().filePath(QStringLiteral("fuzz.pmk"));
    WriteBytes(path, QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));

    ScriptedPromptPort prompt;
    TOpenBook book(prompt, Folder().path());
    if (!book.LoadBook(path))
        return 0;
    const QByteArray first = SavedBytes(book);
    WriteBytes(path, first);
    TOpenBook again(prompt, Folder().path());
    if (!again.LoadBook(path))
        std::abort(); // a book this program saved must load
    if (SavedBytes(again) != first)
        std::abort(); // and must not change by being loaded and saved
    return 0;
}
