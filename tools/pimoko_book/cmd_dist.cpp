#include "book/open_book.h"
#include "editor/distribution.h"
#include "platform/prompt_port.h"
#include "tools/pimoko_book/commands.h"

#include <QDir>
#include <QFileInfo>

namespace pimoko::tool {
namespace {

const char kName[] = "dist";

// The window's dialogs answered for the command line: the archive named on it, and an
// existing one replaced. Any other question (a character the book file cannot hold) is
// declined, so the build stops with its text.
class DistPrompt : public ScriptedPromptPort {
public:
    explicit DistPrompt(const QString& archive)
        : archive_(archive)
    {
    }
    QString SaveFileName(const FileDialogRequest& request) override
    {
        ScriptedPromptPort::SaveFileName(request);
        return archive_;
    }
    Answer Ask(
        MessageKind kind, const QString& caption, const QString& text, Buttons buttons) override
    {
        ScriptedPromptPort::Ask(kind, caption, text, buttons);
        return text.endsWith(QStringLiteral(" はすでに存在しています。上書きしますか？"))
            ? Answer::Ok
            : Answer::Cancel;
    }

private:
    QString archive_;
};

bool ReadQuality(const QStringList& args, int* i, int* quality)
{
    if (*i + 1 >= args.size())
        return false;
    bool ok = false;
    *quality = args[++*i].toInt(&ok);
    return ok && *quality >= 1 && *quality <= 100;
}

int RunDist(const QStringList& args)
{
    DistributionOptions options;
    QStringList files;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--quality")) {
            if (!ReadQuality(args, &i, &options.jpegQuality))
                return UsageError(kName);
        } else if (a == QLatin1String("--recompress-quality")) {
            if (!ReadQuality(args, &i, &options.recompressQuality))
                return UsageError(kName);
        } else if (a == QLatin1String("--no-convert")) {
            options.convertToJpeg = false;
        } else if (a == QLatin1String("--recompress")) {
            options.recompress = true;
        } else if (a == QLatin1String("--player")) {
            options.includePlayer = true;
        } else if (a == QLatin1String("--no-player")) {
            options.includePlayer = false;
        } else if (!a.startsWith(QLatin1String("--"))) {
            files << a;
        } else {
            return UsageError(kName);
        }
    }
    if (files.size() != 2)
        return UsageError(kName);
    // Loading a book enters its folder; the archive is named from where the tool started.
    const QString archive = QFileInfo(files[1]).absoluteFilePath();
    const QString startup = CurrentFolder();

    DistPrompt prompt(archive);
    TDistribution distribution(startup);
    DistributionHooks hooks(distribution);
    TOpenBook book(prompt, hooks, startup);
    QString message;
    if (!LoadBookForTool(book, prompt, files[0], &message)) {
        PrintError(message);
        return 1;
    }
    distribution.Options = options;
    distribution.OnProgress = [](int done, int total) {
        PrintError(QStringLiteral("dist: page %1/%2").arg(done).arg(total));
    };
    distribution.OnPacking = [&archive] {
        PrintError(QStringLiteral("dist: packing %1").arg(QDir::toNativeSeparators(archive)));
    };
    const DistributionResult result = distribution.Run(book);
    for (const QString& path : result.skipped)
        PrintError(QStringLiteral("dist: left out, not found or unreadable: %1")
                       .arg(QDir::toNativeSeparators(path)));
    switch (result.outcome) {
    case DistributionResult::Outcome::Built:
        PrintError(QStringLiteral("dist: built %1").arg(QDir::toNativeSeparators(archive)));
        return 0;
    case DistributionResult::Outcome::Failed:
        PrintError(result.message);
        return 1;
    default:
        PrintError(prompt.LastText().isEmpty() ? QStringLiteral("dist: nothing was built")
                                               : prompt.LastText());
        return 1;
    }
}

CommandRegistration registration(kName,
    "FILE OUT.lzh [--quality Q] [--no-convert] [--recompress] [--recompress-quality Q] "
    "[--player | --no-player]",
    &RunDist);

} // namespace
} // namespace pimoko::tool
