#include "platform/ui/application.h"

#include "platform/numbers.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

namespace pimoko {

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv)
{
    InstallJapaneseTranslation(this);
}

void Application::InstallJapaneseTranslation(QCoreApplication* app)
{
    auto* translator = new QTranslator(app);
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
            QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

void Application::ShowError(const QString& message)
{
    if (errorHandler_) {
        errorHandler_(message);
        return;
    }
    QMessageBox::critical(activeWindow(), applicationDisplayName(), message);
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const EConvertError& e) {
        ShowError(e.message());
    } catch (const std::exception& e) {
        ShowError(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

} // namespace pimoko
