#include "platform/ui/application.h"

#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv)
{
    pimoko::Application app(argc, argv);
    app.setApplicationDisplayName(QStringLiteral("ピモコプレーヤー"));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("ピモコ ver1.26"));
    auto* label = new QLabel(QStringLiteral("絵本リスト"), &window);
    label->setAlignment(Qt::AlignCenter);
    window.setCentralWidget(label);
    window.resize(400, 300);
    window.show();
    return app.exec();
}
