#pragma once

#include "editor/distribution.h"

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;

namespace pimoko {

class PromptPort;
class TBusyState;
class TOpenBook;

// "配布ファイルのコピー確認": the choices of the distribution build and its OK. The
// choices stay in the controls between builds; the build itself is the distribution's,
// and this window only shows its progress and what went wrong.
class TForm5 : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 420;
    static constexpr int kHeight = 330;
    enum PlayerItem { WithPlayer = 0, WithoutPlayer = 1 };

    TForm5(TDistribution& distribution, TOpenBook& book, const TBusyState& busy, PromptPort& prompt,
        QWidget* parent = nullptr);

    // Centred over the editor's frame, the progress hidden, and shown. Nothing while a
    // build runs.
    void OpenOver(const QRect& editorFrame);

    // The five choices as the controls hold them.
    DistributionOptions ChosenOptions() const;

    void Button1Click();
    void Button2Click();

    QTabWidget* PageControl1 = nullptr;
    QLabel* Label1 = nullptr; // what the build makes
    QCheckBox* JpegSaveCheckBox = nullptr;
    QSlider* JpegQualityTrackBar = nullptr;
    QCheckBox* RecompCheckBox = nullptr;
    QSlider* JpegRecompQualityTrackBar = nullptr;
    QGroupBox* PlayerSelectRadioGroup = nullptr;
    QRadioButton* WithPlayerRadio = nullptr;
    QRadioButton* WithoutPlayerRadio = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* CopyLabel = nullptr; // "コピーしています。（少し、時間がかかります）"
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* MakeConfirmTab();
    QWidget* MakeJpegTab();
    QWidget* MakePlayerTab();
    void ShowProgress(int done, int total);
    void HideProgress();

    TDistribution& distribution_;
    TOpenBook& book_;
    const TBusyState& busy_;
    PromptPort& prompt_;
    QButtonGroup* playerGroup_ = nullptr;
};

} // namespace pimoko
