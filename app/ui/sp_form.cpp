#include "app/ui/sp_form.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QScreen>

namespace pimoko {
namespace {

const QString kGothic = QStringLiteral("ＭＳ ゴシック");
const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");

QFont PixelFont(const QString& family, int pixels, bool italic)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setItalic(italic);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// A panel with the ellipse outline of the artwork drawn on its face.
class ArtworkPanel : public QFrame {
public:
    ArtworkPanel(QWidget* parent, const QColor& color)
        : QFrame(parent)
        , color_(color)
    {
        setFrameStyle(QFrame::Panel | QFrame::Raised);
        setLineWidth(1);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QFrame::paintEvent(event);
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(color_, 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(10.5, 12.5, 167, 117));
    }

private:
    QColor color_;
};

QLabel* Label(
    QWidget* parent, const QString& text, const QFont& font, const QColor& color, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->adjustSize();
    label->move(x, y);
    return label;
}

void AddArtwork(QWidget* panel, const QColor& color, bool full)
{
    Label(
        panel, QStringLiteral("Now Loading..."), PixelFont(kPGothic, 12, false), Qt::black, 58, 31);
    Label(panel, QStringLiteral("ピモコ"), PixelFont(kGothic, 24, true), color, 20, 49);
    if (full)
        Label(panel, QStringLiteral("プレーヤー"), PixelFont(kGothic, 21, true), color, 52, 78);
    Label(panel, QStringLiteral("ver1.26"), PixelFont(kGothic, 13, true), color, 69, 102);
}

} // namespace

TSpForm::TSpForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setFont(PixelFont(kPGothic, 12, false));
    setFixedSize(188, 141);

    Panel1 = new ArtworkPanel(this, Qt::red);
    Panel1->setGeometry(0, 0, 188, 141);
    AddArtwork(Panel1, Qt::red, true);

    Panel2 = new ArtworkPanel(this, Qt::blue);
    Panel2->setGeometry(200, 0, 188, 141);
    AddArtwork(Panel2, Qt::blue, false);
    Panel2->hide();
}

void TSpForm::ShowNow()
{
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - width()) / 2,
            area.top() + (area.height() - height()) / 2);
    }
    show();
    raise();
    repaint();
    // One pass over what the window system has sent (map, expose), so the splash is on
    // the screen before the windows are made; this is not a loop.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace pimoko
