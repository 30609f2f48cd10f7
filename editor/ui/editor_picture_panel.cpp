#include "editor/ui/editor_glyphs.h"
#include "editor/ui/editor_preview.h"
#include "editor/ui/editor_window.h"
#include "editor/ui/editor_window_parts.h"

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace pimoko {

// Panel3: the preview in its frame, the picture's caption under it, the page buttons and
// the insertion and deletion buttons below.
void TForm2::BuildPicturePanel()
{
    Panel3 = new QFrame(Panel1);
    Panel3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Bevel6 = new QFrame(Panel3);
    Bevel6->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Image1 = new EditorPreview(&editor_.Preview(), Panel3);
    Image1->setToolTip(QStringLiteral("クリックすると画像を編集できます"));
    Image1->onClick = [this] { Act([&] { editor_.Image1Click(); }); };

    ImageInfoLabel
        = new QLabel(QStringLiteral("画面をクリックすると絵を描くことができます"), Panel3);
    ImageInfoLabel->setAlignment(Qt::AlignCenter);
    QPalette hint = ImageInfoLabel->palette();
    hint.setColor(QPalette::WindowText, QColor(0, 0, 160));
    ImageInfoLabel->setPalette(hint);
    // Where the label lies over the picture, a click on it is a click on the picture.
    ImageInfoLabel->setAttribute(Qt::WA_TransparentForMouseEvents);

    Label7 = new QLabel(Panel3);
    Label7->setAlignment(Qt::AlignCenter);

    BitBtn2 = MakeButton(
        QString(), QStringLiteral("前のページへ移動します。"), EditorGlyph::PreviousPage, Panel3);
    BitBtn3 = MakeButton(
        QString(), QStringLiteral("次のページへ移動します。"), EditorGlyph::NextPage, Panel3);
    PageLabel = new QLabel(Panel3);
    PageLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont big = EditorFont(20);
    big.setBold(true);
    PageLabel->setFont(big);
    PageCaptionLabel = new QLabel(QStringLiteral("ページ"), Panel3);
    PrevNewPageBitBtn = MakeButton(QStringLiteral("前に挿入"),
        QStringLiteral("このページの手前にページを挿入します。"), EditorGlyph::InsertBefore,
        Panel3);
    NextNewPageBitBtn = MakeButton(QStringLiteral("後に挿入"),
        QStringLiteral("このページの後にページを挿入します。"), EditorGlyph::InsertAfter, Panel3);
    DeleteBitBtn = MakeButton(QStringLiteral("削除"), QStringLiteral("このページを削除します。"),
        EditorGlyph::DeletePage, Panel3);

    connect(BitBtn2, &QPushButton::clicked, this, [this] { Act([&] { editor_.Button6Click(); }); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { Act([&] { editor_.Button5Click(); }); });
    connect(PrevNewPageBitBtn, &QPushButton::clicked, this, &TForm2::PrevNewPageBitBtnClick);
    connect(NextNewPageBitBtn, &QPushButton::clicked, this, &TForm2::NextNewPageBitBtnClick);
    connect(DeleteBitBtn, &QPushButton::clicked, this,
        [this] { Act([&] { editor_.DeleteBitBtnClick(); }); });

    // "画像設定" goes into Panel4 with the page's other settings.
    PicturePanel = new QGroupBox(QStringLiteral("画像設定"));
    LoadPicBitBtn = MakeButton(QStringLiteral("画像読込み"),
        QStringLiteral("背景画像（BMP、JPEG）を読み込みます。"), EditorGlyph::LoadPicture,
        PicturePanel);
    FillPaintBitBtn = MakeButton(QStringLiteral("ぬりつぶす"),
        QStringLiteral("背景を一色でぬりつぶします。"), EditorGlyph::Fill, PicturePanel);
    ClipBitBtn = MakeButton(QStringLiteral("クリップ設定"),
        QStringLiteral("画像をクリップとして前のページに重ねます。"), EditorGlyph::Clip,
        PicturePanel);
    Button10 = MakeButton(QStringLiteral("クリア"),
        QStringLiteral("このページの背景をなくします。"), EditorGlyph::ClearPicture, PicturePanel);
    auto* grid = new QHBoxLayout(PicturePanel);
    grid->setContentsMargins(6, 4, 6, 6);
    grid->setSpacing(4);
    for (QPushButton* b : { LoadPicBitBtn, FillPaintBitBtn, ClipBitBtn, Button10 })
        grid->addWidget(b);

    connect(LoadPicBitBtn, &QPushButton::clicked, this,
        [this] { Act([&] { editor_.LoadPicBitBtnClick(); }); });
    connect(FillPaintBitBtn, &QPushButton::clicked, this,
        [this] { Act([&] { editor_.FillPaintBitBtnClick(); }); });
    connect(ClipBitBtn, &QPushButton::clicked, this,
        [this] { Act([&] { editor_.ClipBitBtnClick(); }); });
    connect(
        Button10, &QPushButton::clicked, this, [this] { Act([&] { editor_.Button10Click(); }); });
}

// The controls around the preview follow its place: the caption under it, then the page
// buttons and under them the insertion and deletion buttons, or both on one line where
// the panel is too low for two.
void TForm2::PlacePreviewControls()
{
    const QRect frame = Bevel6->geometry();
    const int width = Panel3->width();
    const int rowHeight = 28;
    const int labelTop = frame.bottom() + 5;
    const int firstRow = labelTop + 20;
    const bool twoRows = firstRow + 2 * rowHeight + 4 <= Panel3->height() - 4;

    // The hint goes above the preview, so it hides none of the page; over the preview's
    // top edge only where the panel leaves no room above.
    const int infoTop = frame.top() >= 24 ? frame.top() - 22 : frame.top() + 6;
    ImageInfoLabel->setGeometry(4, infoTop, width - 8, 18);
    Label7->setGeometry(4, labelTop, width - 8, 16);

    const int pageWidth = 44;
    const int captionWidth = PageCaptionLabel->sizeHint().width();
    const int navWidth = 36 + 4 + pageWidth + 4 + captionWidth + 4 + 36;
    const QList<QPushButton*> edits { PrevNewPageBitBtn, NextNewPageBitBtn, DeleteBitBtn };
    int editsWidth = -4;
    for (QPushButton* b : edits)
        editsWidth += b->sizeHint().width() + 4;

    int navX = (width - navWidth) / 2;
    int editsX = (width - editsWidth) / 2;
    int editsTop = firstRow + rowHeight + 4;
    if (!twoRows) {
        navX = (width - navWidth - 16 - editsWidth) / 2;
        editsX = navX + navWidth + 16;
        editsTop = firstRow;
    }
    int x = navX;
    BitBtn2->setGeometry(x, firstRow, 36, rowHeight);
    x += 40;
    PageLabel->setGeometry(x, firstRow, pageWidth, rowHeight);
    x += pageWidth + 4;
    PageCaptionLabel->setGeometry(x, firstRow, captionWidth, rowHeight);
    x += captionWidth + 4;
    BitBtn3->setGeometry(x, firstRow, 36, rowHeight);

    x = std::max(4, editsX);
    for (QPushButton* b : edits) {
        b->setGeometry(x, editsTop, b->sizeHint().width(), rowHeight);
        x += b->sizeHint().width() + 4;
    }
}

void TForm2::ShowPictureState()
{
    Label7->setText(editor_.Label7);
    ImageInfoLabel->setVisible(editor_.ImageInfoLabelVisible);
}

} // namespace pimoko
