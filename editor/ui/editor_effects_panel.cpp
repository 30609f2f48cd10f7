#include "editor/ui/editor_glyphs.h"
#include "editor/ui/editor_window.h"
#include "editor/ui/editor_window_parts.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pimoko {

// "このページの特殊効果、設定": the draw mode's picture and caption, the fade and the
// automatic page turn in words, and the way to the effects window.
void TForm2::BuildEffectsPanel()
{
    EffectsPanel = new QGroupBox(QStringLiteral("このページの特殊効果、設定"));
    DrawModeImage = new QLabel(EffectsPanel);
    DrawModeImage->setFixedSize(32, 32);
    DrawModeLabel = new QLabel(EffectsPanel);
    EffectInfoLabel = new QLabel(EffectsPanel);
    AutoNextLabel = new QLabel(EffectsPanel);
    for (QLabel* label : { EffectInfoLabel, AutoNextLabel }) {
        QPalette blue = label->palette();
        blue.setColor(QPalette::WindowText, QColor(0, 0, 160));
        label->setPalette(blue);
    }
    BitBtn6 = MakeButton(QStringLiteral("特殊設定"),
        QStringLiteral("描画の方法、画面の切り替え、次のページを設定します。"),
        EditorGlyph::Effects, EffectsPanel);

    auto* row = new QHBoxLayout(EffectsPanel);
    row->setContentsMargins(6, 4, 6, 6);
    row->addWidget(DrawModeImage, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(DrawModeLabel);
    texts->addWidget(EffectInfoLabel);
    texts->addWidget(AutoNextLabel);
    row->addLayout(texts, 1);
    row->addWidget(BitBtn6, 0, Qt::AlignBottom);

    connect(BitBtn6, &QPushButton::clicked, this, [this] { Act([&] { editor_.BitBtn6Click(); }); });
}

void TForm2::ShowSummary()
{
    DrawModeLabel->setText(editor_.DrawModeLabel);
    EffectInfoLabel->setText(editor_.EffectInfoLabel);
    AutoNextLabel->setText(editor_.AutoNextLabel);
    if (DrawModeImage->property("drawMode").toInt() != editor_.DrawMode) {
        DrawModeImage->setPixmap(QPixmap::fromImage(DrawModePicture(editor_.DrawMode)));
        DrawModeImage->setProperty("drawMode", editor_.DrawMode);
    }
}

} // namespace pimoko
