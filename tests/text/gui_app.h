#pragma once

#include <QGuiApplication>

namespace pimoko::test {

// Fonts need the application object; the engine tests share one, made on first use and
// kept until the process ends.
inline void EnsureGuiApp()
{
    if (QGuiApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "test_text";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

}  // namespace pimoko::test
