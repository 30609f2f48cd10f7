#pragma once

#include "paint/graphic_editor.h"

#include <QWidget>

#include <memory>

class QAction;
class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSlider;
class QTimer;

namespace pimoko {

class PaintCanvasView;
class PaletteView;
class PenGridView;
class PromptPort;
class RandomSource;
class SwatchView;

// "ピモコグラフィックエディタ": the window over the graphic editor. It keeps no state of its
// own beyond its controls: every event becomes a call on the editor, and the controls show
// the editor's fields afterwards.
class TForm13 : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 904;
    static constexpr int kHeight = 496;

    // random: null for the system's generator.
    TForm13(PromptPort& prompt, const QString& startupFolder, RandomSource* random = nullptr,
        QWidget* parent = nullptr);
    ~TForm13() override;

    TGraphicEditor& Editor() { return editor_; }
    void SetHost(GraphicEditorHost* host) { editor_.SetHost(host); }

    // The editor opens the window on the page's background and the file it came from.
    void OpenOn(const QImage& canvas, const QString& sourcePicture);
    // Every control shows the editor's fields again.
    void ShowState();

    // Activation and deactivation, as the window's events (and tests) call them.
    void FormActivate();
    void FormDeactivate();
    // "保存", "閉じる".
    void SaveButtonClick();
    void Button4Click();

    PaintCanvasView* CanvasImage = nullptr;
    SwatchView* CurrentPenImage = nullptr;
    QPushButton* SelectPenBitBtn = nullptr;
    QPushButton* MakePenBitBtn = nullptr;
    SwatchView* PenColorPaintBox = nullptr;
    PaletteView* PalletImage = nullptr;
    QGroupBox* PenRadioGroup = nullptr;
    QRadioButton* PenRadioItems[3] = {};
    QGroupBox* ToolRadioGroup = nullptr;
    QRadioButton* ToolRadioItems[3] = {};
    QSlider* PenSizeTrackBar = nullptr;
    QSlider* PenTransTrackBar = nullptr;
    QSlider* BrushTimeTrackBar = nullptr;
    QPushButton* UndoBitBtn = nullptr;
    QPushButton* UndoNextBitBtn = nullptr;
    QPushButton* SaveButton = nullptr;
    QPushButton* Button4 = nullptr;

    // The pen grid and its buttons.
    QFrame* PenPanel = nullptr;
    QScrollArea* PenScrollBox = nullptr;
    PenGridView* PenGrid = nullptr;
    QPushButton* Button1 = nullptr; // "更新"
    QPushButton* Button3 = nullptr; // "キャンセル"
    QLabel* PreparingPanel = nullptr; // "準備中です。"
    QMenu* DeletePenPopupMenu = nullptr;
    QAction* DeletePenMenuItem = nullptr;

    // "ペンの作成方法"
    QFrame* CreatePenPanel = nullptr;
    QRadioButton* TransparentRadio = nullptr;
    QRadioButton* SquareRadio = nullptr;
    QRadioButton* OriginalSizeRadio = nullptr;
    QRadioButton* Fit64Radio = nullptr;
    QPushButton* Button2 = nullptr; // "作成する"
    QPushButton* Button5 = nullptr; // "取り消し"

    QTimer* Timer1 = nullptr;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildTools();
    void BuildSliders();
    void BuildPenPanel();
    void BuildCreatePenPanel();
    // Runs an editor call, then shows the state.
    template <typename F> void Act(F&& action);
    void LoadPensShowingProgress();
    void PenGridPressed(int cell, bool right, QPoint globalPos);
    // The editor's question or message is up: the window's own deactivation is not one.
    bool Prompting() const { return prompting_ > 0; }

    std::unique_ptr<RandomSource> ownRandom_;
    TGraphicEditor editor_;
    bool firstShow_ = true;
    int prompting_ = 0;
    quint64 shownCanvas_ = ~0ULL;
};

} // namespace pimoko
