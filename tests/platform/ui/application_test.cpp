#include "platform/ui/application.h"
#include "platform/ui/qt_prompt_port.h"

#include "platform/numbers.h"

#include <QAbstractButton>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace pimoko {
namespace {

Application& App()
{
    return *static_cast<Application*>(QCoreApplication::instance());
}

TEST(Application, ConversionErrorInAHandlerIsShownAndTheProgramGoesOn)
{
    Application& app = App();
    QStringList shown;
    app.SetErrorHandler([&](const QString& m) { shown.append(m); });
    QPushButton button;
    int after = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] { StrToInt("abc"); });
    QObject::connect(&button, &QPushButton::pressed, [&] { ++after; });
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(shown,
        QStringList({ QString::fromUtf8("'abc' は整数ではありません。"),
            QString::fromUtf8("'abc' は整数ではありません。") }));
    EXPECT_EQ(after, 2);
}

TEST(QtPromptPort, StoredFileFiltersBecomeQtFilters)
{
    EXPECT_EQ(ToQtNameFilter(QString::fromUtf8("ピモコファイル(*.pmk)|*.pmk|画像|*.bmp;*.jpg")),
        QString::fromUtf8("ピモコファイル(*.pmk) (*.pmk);;画像 (*.bmp *.jpg)"));
    EXPECT_EQ(ToQtNameFilter("Books (*.pmk)"), "Books (*.pmk)");
}

// A message stands over the window the user works in, one kept on top included; a
// splash screen, which goes away by itself, is no window for it.
TEST(QtPromptPort, AMessageBelongsToTheActiveWindow)
{
    QWidget onTop(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint);
    QWidget splash(nullptr, Qt::SplashScreen);
    QtPromptPort prompt;
    for (QWidget* window : { &onTop, &splash }) {
        window->show();
        QApplication::setActiveWindow(window);
        QWidget* owner = reinterpret_cast<QWidget*>(1);
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            owner = box ? box->parentWidget() : owner;
            if (box)
                box->accept();
        });
        prompt.ShowMessage(MessageKind::Information, QStringLiteral("t"), QStringLiteral("m"));
        EXPECT_EQ(owner, window == &onTop ? window : nullptr);
        window->hide();
    }
}

// The caller asks about overwriting in its own words before it saves: choosing an
// existing file in the save dialog returns it without a second question.
TEST(QtPromptPort, TheSaveDialogDoesNotAskAboutOverwritingAgain)
{
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("book.pmk"));
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    bool dialogSeen = false;
    bool asked = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(window);
            if (box && box->isVisible()) {
                asked = true;
                if (QAbstractButton* no = box->button(QMessageBox::No))
                    no->click();
                else
                    box->reject();
                return;
            }
        }
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            if (dialogSeen) {
                dialog->reject(); // still open after a question: give up
                return;
            }
            dialogSeen = true;
            dialog->selectFile(existing);
            // As the save button does; queued, so that a question it asks meets this
            // watch again.
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        }
    });
    watch.start(20);

    FileDialogRequest request;
    request.title = QStringLiteral("ピモコファイルの保存");
    request.filter = QStringLiteral("ピモコファイル(pmk)|*.pmk");
    request.defaultExt = QStringLiteral("pmk");
    request.initialFolder = dir.path();
    QtPromptPort port;
    const QString chosen = port.SaveFileName(request);
    EXPECT_TRUE(dialogSeen);
    EXPECT_FALSE(asked);
    EXPECT_EQ(QFileInfo(chosen), QFileInfo(existing));
}

} // namespace
} // namespace pimoko
