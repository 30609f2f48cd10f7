#pragma once

#include <QApplication>

#include <functional>

namespace pimoko {

// The application object. Its event boundary catches the conversion error (and any
// other exception) thrown from an event handler, shows the message in a message box
// and lets the program go on: the action that failed stops there, nothing else.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Replaces how a caught error is shown (tests record it instead of a dialog).
    void SetErrorHandler(std::function<void(const QString&)> handler)
    {
        errorHandler_ = std::move(handler);
    }

    // Loads Qt's Japanese translation so standard buttons and dialogs read in Japanese.
    static void InstallJapaneseTranslation(QCoreApplication* app);

    void ShowError(const QString& message);

private:
    std::function<void(const QString&)> errorHandler_;
};

} // namespace pimoko
