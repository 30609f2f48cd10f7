#include "tools/pimoko_book/commands.h"

#include "book/open_book.h"
#include "platform/prompt_port.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>

#include <algorithm>
#include <cstdio>

namespace pimoko::tool {
namespace {

std::vector<Command>& Registry()
{
    static std::vector<Command> commands;
    return commands;
}

void Write(FILE* to, const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), to);
    std::fflush(to);
}

} // namespace

CommandRegistration::CommandRegistration(const char* name, const char* usage, CommandFunction run)
{
    Registry().push_back({ QString::fromUtf8(name), QString::fromUtf8(usage), run });
}

std::vector<Command> Commands()
{
    std::vector<Command> sorted = Registry();
    std::sort(sorted.begin(), sorted.end(),
        [](const Command& a, const Command& b) { return a.name < b.name; });
    return sorted;
}

void PrintJson(const QJsonObject& object)
{
    Write(stdout, QJsonDocument(object).toJson(QJsonDocument::Indented));
}

void PrintLine(const QString& line)
{
    Write(stdout, line.toUtf8() + '\n');
}

void PrintError(const QString& line)
{
    Write(stderr, line.toUtf8() + '\n');
}

int UsageError(const QString& name)
{
    for (const Command& c : Registry())
        if (c.name == name)
            PrintError(QStringLiteral("usage: pimoko-book %1 %2").arg(c.name, c.usage));
    return 2;
}

QString CurrentFolder()
{
    return QDir::currentPath();
}

bool LoadBookForTool(
    TOpenBook& book, ScriptedPromptPort& prompt, const QString& path, QString* message)
{
    if (book.LoadBook(QFileInfo(path).absoluteFilePath()))
        return true;
    if (message)
        *message = prompt.LastText();
    return false;
}

} // namespace pimoko::tool
