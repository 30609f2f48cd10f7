#include "tools/make_sample/startup_layout.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

// pimoko-sample FOLDER [--program PATH] [--without-settings]
// Lays out a start-up folder with the sample book. The program copied into Player is
// the pimoko beside this tool unless --program names another.
int main(int argc, char** argv)
{
    // Pictures are painted without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);

    pimoko::sample::LayoutOptions options;
    options.program
        = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("pimoko"));
    bool usage = false;
    for (int i = 0; i < args.size() && !usage; ++i) {
        if (args[i] == QLatin1String("--program") && i + 1 < args.size())
            options.program = args[++i];
        else if (args[i] == QLatin1String("--without-settings"))
            options.settings = false;
        else if (args[i].startsWith(QLatin1String("--")) || !options.folder.isEmpty())
            usage = true;
        else
            options.folder = args[i];
    }
    if (usage || options.folder.isEmpty()) {
        std::fprintf(stderr, "usage: pimoko-sample FOLDER [--program PATH] [--without-settings]\n");
        return 2;
    }
    if (!QFileInfo(options.program).isFile())
        options.program.clear();
    options.folder = QDir(options.folder).absolutePath();
    QString error;
    if (!pimoko::sample::LayOutStartupFolder(options, &error)) {
        std::fprintf(stderr, "pimoko-sample: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
