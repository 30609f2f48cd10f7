#include "book/open_book.h"
#include "editor/distribution.h"
#include "editor/ui/distribution_window.h"
#include "platform/bitmap.h"
#include "platform/busy_state.h"
#include "platform/prompt_port.h"

#include "tests/support/test_support.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <functional>

namespace pimoko {
namespace {

// Answers the archive dialog, and lets a test act while the build waits on it.
struct BuildPrompt : ScriptedPromptPort {
    std::function<void()> duringDialog;
    int dialogs = 0;
    QString SaveFileName(const FileDialogRequest& request) override
    {
        ++dialogs;
        if (duringDialog)
            duringDialog();
        return ScriptedPromptPort::SaveFileName(request);
    }
};

class DistributionWindowTest : public ::testing::Test {
protected:
    DistributionWindowTest()
        : distribution(tmp.path())
        , hooks(distribution)
        , book(prompt, hooks, tmp.path())
        , form(distribution, book, busy, prompt)
    {
        book.BookFolder = tmp.path();
        book.BookFilePath = tmp.file(QStringLiteral("book.pmk"));
        QImage picture = NewBitmap24(32, 24);
        picture.fill(Qt::green);
        WriteBmp24(tmp.file(QStringLiteral("p.bmp")), picture);
        for (int n = 1; n <= 2; ++n) {
            book.Page(n).InUse = true;
            book.Page(n).PictureFile = QStringLiteral("p.bmp");
        }
    }

    test::TempFolder tmp;
    BuildPrompt prompt;
    TBusyState busy;
    TDistribution distribution;
    DistributionHooks hooks;
    TOpenBook book;
    TForm5 form;
};

TEST_F(DistributionWindowTest, CaptionsAndTheFiveDefaults)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("配布ファイルのコピー確認"));
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    ASSERT_EQ(form.PageControl1->count(), 3);
    EXPECT_EQ(form.PageControl1->tabText(0), QStringLiteral("作成確認"));
    EXPECT_EQ(form.PageControl1->tabText(1), QStringLiteral("ＪＰＥＧ指定"));
    EXPECT_EQ(form.PageControl1->tabText(2), QStringLiteral("プレイヤー添付"));
    EXPECT_EQ(form.JpegSaveCheckBox->text(), QStringLiteral("BMPをJPEGに変換する"));
    EXPECT_EQ(form.RecompCheckBox->text(), QStringLiteral("JPEGの再圧縮"));
    EXPECT_EQ(form.PlayerSelectRadioGroup->title(), QStringLiteral("ピモコプレイヤー"));
    EXPECT_EQ(form.WithPlayerRadio->text(), QStringLiteral("プレイヤーをつけて配布する"));
    EXPECT_EQ(form.WithoutPlayerRadio->text(), QStringLiteral("プレイヤーをつけない"));
    EXPECT_EQ(
        form.CopyLabel->text(), QStringLiteral("コピーしています。（少し、時間がかかります）"));
    EXPECT_EQ(form.JpegQualityTrackBar->minimum(), 1);
    EXPECT_EQ(form.JpegQualityTrackBar->maximum(), 100);

    const DistributionOptions o = form.ChosenOptions();
    EXPECT_TRUE(o.convertToJpeg);
    EXPECT_EQ(o.jpegQuality, 80);
    EXPECT_FALSE(o.recompress);
    EXPECT_EQ(o.recompressQuality, 50);
    EXPECT_FALSE(o.includePlayer);

    form.WithPlayerRadio->setChecked(true);
    form.JpegQualityTrackBar->setValue(33);
    EXPECT_TRUE(form.ChosenOptions().includePlayer);
    EXPECT_EQ(form.ChosenOptions().jpegQuality, 33);
}

TEST_F(DistributionWindowTest, OpensCentredOverTheEditorWithTheProgressHidden)
{
    form.OpenOver(QRect(100, 50, 716, 554));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(
        form.pos(), QPoint(100 + (716 - TForm5::kWidth) / 2, 50 + (554 - TForm5::kHeight) / 2));
    EXPECT_FALSE(form.ProgressBar1->isVisibleTo(&form));
    EXPECT_FALSE(form.CopyLabel->isVisibleTo(&form));
}

TEST_F(DistributionWindowTest, OkTwiceRunsOneBuildAndTheWindowStaysWhileItRuns)
{
    const QString archive = tmp.file(QStringLiteral("out.lzh"));
    prompt.fileNames = { archive };
    form.OpenOver(QRect(0, 0, 800, 600));
    bool shownDuring = false;
    prompt.duringDialog = [&] {
        shownDuring = form.ProgressBar1->isVisible() && form.CopyLabel->isVisible();
        form.Button1Click();
        form.Button2Click();
        form.close();
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(distribution.Building());
    };
    form.Button1Click();
    EXPECT_TRUE(shownDuring);
    EXPECT_EQ(prompt.dialogs, 1);
    EXPECT_TRUE(QFileInfo(archive).isFile());
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.ProgressBar1->isVisibleTo(&form));
    EXPECT_EQ(form.ProgressBar1->value(), 0);
    EXPECT_FALSE(distribution.Building());
    EXPECT_TRUE(prompt.Texts().isEmpty()) << prompt.LastText().toStdString();

    // Nothing while a book plays.
    busy.TryTake();
    prompt.duringDialog = nullptr;
    form.Button1Click();
    EXPECT_EQ(prompt.dialogs, 1);
}

TEST_F(DistributionWindowTest, AFailureIsTold)
{
    prompt.fileNames = { tmp.file(QStringLiteral("missing/out.lzh")) };
    form.OpenOver(QRect(0, 0, 800, 600));
    form.Button1Click();
    ASSERT_EQ(prompt.Texts().size(), 1);
    EXPECT_EQ(prompt.shown.back().kind, MessageKind::Error);
    EXPECT_TRUE(prompt.LastText().endsWith(QStringLiteral("配布ファイルは作成していません。")));
    EXPECT_FALSE(form.isVisible());
}

} // namespace
} // namespace pimoko
