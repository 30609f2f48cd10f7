#include "platform/ui/application.h"
#include "platform/ui/qt_prompt_port.h"

#include "platform/numbers.h"

#include <QPushButton>
#include <QTest>
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

TEST(QtPromptPort, DesignFiltersBecomeQtFilters)
{
    EXPECT_EQ(ToQtNameFilter(QString::fromUtf8("ピモコファイル(*.pmk)|*.pmk|画像|*.bmp;*.jpg")),
        QString::fromUtf8("ピモコファイル(*.pmk) (*.pmk);;画像 (*.bmp *.jpg)"));
    EXPECT_EQ(ToQtNameFilter("Books (*.pmk)"), "Books (*.pmk)");
}

} // namespace
} // namespace pimoko
