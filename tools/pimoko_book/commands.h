#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <vector>

namespace pimoko {
class TOpenBook;
class ScriptedPromptPort;
} // namespace pimoko

namespace pimoko::tool {

// A subcommand gets the arguments after its name and returns the exit code.
using CommandFunction = int (*)(const QStringList& args);

struct Command {
    QString name;
    QString usage; // the arguments, as the usage text shows them: "FILE"
    CommandFunction run;
};

// A subcommand registers itself from its own file, with a static object:
//   static CommandRegistration reg("dump", "FILE", &RunDump);
struct CommandRegistration {
    CommandRegistration(const char* name, const char* usage, CommandFunction run);
};

// Every registered subcommand, sorted by name.
std::vector<Command> Commands();

// One JSON document, UTF-8, to stdout.
void PrintJson(const QJsonObject& object);
// One line, UTF-8, to stdout / stderr.
void PrintLine(const QString& line);
void PrintError(const QString& line);
// Prints "usage: pimoko-book NAME USAGE" to stderr and returns the exit code for it (2).
int UsageError(const QString& name);

// The start-up folder a tool works in: the current folder.
QString CurrentFolder();

// Loads a book the way the library does, without windows. On failure returns false
// with the message the user would have seen.
bool LoadBookForTool(
    TOpenBook& book, ScriptedPromptPort& prompt, const QString& path, QString* message);

} // namespace pimoko::tool
