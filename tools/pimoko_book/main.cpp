#include "tools/pimoko_book/commands.h"

#include <QGuiApplication>
#include <QStringList>

// The subcommands register themselves from their own files; this only dispatches.
int main(int argc, char** argv)
{
    // Rendering and playing draw text, which needs the font database of a GUI
    // application; the tool never opens a window, so it needs no display either.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const auto commands = pimoko::tool::Commands();
    if (!args.isEmpty()) {
        for (const auto& c : commands)
            if (c.name == args[0])
                return c.run(args.mid(1));
    }
    pimoko::tool::PrintError(QStringLiteral("usage:"));
    for (const auto& c : commands)
        pimoko::tool::PrintError(QStringLiteral("  pimoko-book %1 %2").arg(c.name, c.usage));
    return 2;
}
