#include "platform/bitmap.h"
#include "tests/text/text_test_support.h"
#include "text/text_shot.h"
#include "text/text_shot_b.h"

#include <gtest/gtest.h>

namespace pimoko {
namespace {

// A page with both writing directions from both engines. The picture is written only
// when PIMOKO_TEXT_PICTURE names a file, for looking at it.
TEST(TextPagePicture, BothEnginesBothDirections)
{
    test::EnsureGuiApp();
    QImage page = NewBitmap24();
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            uchar* p = page.scanLine(y) + 3 * x;
            p[0] = static_cast<uchar>(120 + y / 4);
            p[1] = static_cast<uchar>(60 + x / 8);
            p[2] = 40;
        }
    const QStringList horizontal = { QStringLiteral("「こんにちは」、世界。ABCgy"),
        QStringLiteral("ー～…（かっこ）『本』"), QString(), QStringLiteral("３行目の文です。") };
    const QStringList vertical = { QStringLiteral("「縦書き」、です。"),
        QStringLiteral("ーー～…（abc）"), QStringLiteral("ＡＢＣ１２３") };

    Canvas canvas(&page);
    canvas.font().name = QStringLiteral("ＭＳ ゴシック");
    canvas.font().height = 24;
    TTextShot shot;
    shot.SetText(horizontal);
    shot.SetCanvas(&canvas);
    shot.SetOrigin(10, 10);
    shot.SetShadowOn();
    shot.SetShadowColor(0x000000);
    shot.SetTextColor(0xFFFFFF);
    shot.DrawAll();
    canvas.font().name = QStringLiteral("@ＭＳ 明朝");
    shot.SetText(vertical);
    shot.SetVertical();
    shot.SetOrigin(630, 10);
    shot.SetHighlightOn();
    shot.SetHighlightWidth(2);
    shot.SetShadowColor(0x0000FF);
    shot.SetTextColor(0x00FFFF);
    shot.DrawAll();

    Canvas target(&page);
    target.font().name = QStringLiteral("ＭＳ Ｐゴシック");
    target.font().height = 30;
    target.font().color = 0xFFFFFF;
    TTextShotB b;
    b.SetTargetBitmap(&target);
    b.SetText(horizontal);
    b.SetOrigin(10, 250);
    b.SetShadowOn();
    b.SetShadowColor(0x000000);
    for (int n = 1; n <= b.CharCount(); ++n)
        b.DrawChar(n);
    target.font().name = QStringLiteral("@ＭＳ Ｐ明朝");
    target.font().color = 0x80FFFF;
    b.SetText(vertical);
    b.SetVertical();
    b.SetOrigin(470, 10);
    b.SetHighlightOn();
    b.SetHighlightWidth(2);
    b.SetShadowColor(0x800000);
    b.SetDeferredComposite(true);
    for (int n = 1; n <= b.CharCount(); ++n)
        b.DrawChar(n);
    b.CompositeAll();

    const QString out = qEnvironmentVariable("PIMOKO_TEXT_PICTURE");
    if (!out.isEmpty())
        page.save(out);
    EXPECT_FALSE(page.isNull());
}

} // namespace
} // namespace pimoko
