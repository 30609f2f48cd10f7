#pragma once

#include "player/playback_ports.h"
#include "player/viewer_state.h"
#include "text/text_shot_b.h"

#include <QImage>
#include <QWidget>

#include <memory>
#include <optional>

class QAction;
class QFrame;
class QMenu;
class QPushButton;
class QToolButton;

namespace pimoko {

class PictureView;
class SoundPort;
class TViewerActions;

// What the viewer asks of the windows around it.
class ViewerWindowPeers {
public:
    virtual ~ViewerWindowPeers() = default;
    virtual bool TitleListVisible() const = 0;
    virtual bool TitleListInPlayerMode() const = 0;
    virtual void ShowTitleListInPlayerMode() = 0;
    virtual void HideTitleList() = 0;
    // The wanted screen mode (the editor's hidden check box), set from the viewer's menu;
    // it also moves the options window's choice.
    virtual void SetFullScreenWanted(bool fullScreen) = 0;
};

// "ピモコビューワ", the window a book is read in: the page picture, the go-on button, the
// stop button and the list button. It owns the picture with the link areas (the viewer
// state), the playback text engine and the sound players; the player drives them, and
// this window shows them and hands the reader's clicks and keys to the viewer actions.
class TForm3 : public QWidget, public PlaybackScreen {
    Q_OBJECT
public:
    // sounds: the players to own; null makes the real ones.
    explicit TForm3(ViewerWindowPeers& peers, std::unique_ptr<SoundPort> sounds = nullptr,
        QWidget* parent = nullptr);
    ~TForm3() override;

    TViewerState& State() { return state_; }
    TTextShotB& TextEngine() { return *text_; }
    SoundPort& Sounds() { return *sounds_; }
    // The reader's actions on the player, once they exist; every rule of the window's
    // controls is theirs.
    void Attach(TViewerActions* actions);

    // PlaybackScreen
    void RepaintPicture() override;
    void ViewerStateChanged() override;
    void ShowViewer() override;
    void CloseViewer() override;
    void ApplyScreenLayout(TViewerState::ScreenChange change) override;
    void ShowTitleListInPlayerMode() override;
    void HideTitleList() override;
    bool TitleListVisible() const override;
    bool TitleListInPlayerMode() const override;
    void SetFullScreenWanted(bool fullScreen) override;

    // The handlers, as the controls and tests call them.
    void BitBtn1Click();
    void StopButtonClick();
    void ShowListSpeedButtonClick();
    void PopupMenu1Popup();
    void N1Click();
    void N2Click();
    void BitBtn2Click();
    void BitBtn3Click();

    QFrame* Panel1 = nullptr;
    PictureView* Image1 = nullptr;
    QToolButton* ShowListSpeedButton = nullptr;
    QFrame* Bevel1 = nullptr;
    QToolButton* StopButton = nullptr;
    QFrame* Panel2 = nullptr;
    QPushButton* Bitbtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* N1 = nullptr;
    QAction* N2 = nullptr;
    QAction* N3 = nullptr;

    const QImage& LinkGlyphBitmap() const { return linkGlyph_; }
    const QImage& AdvanceGlyphBitmap() const { return advanceGlyph_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate();
    void BuildControls();
    void LayOutWindowMode();
    void CentreInWorkArea();
    void PlacePicture();
    void ApplyCursor();

    ViewerWindowPeers& peers_;
    TViewerState state_;
    std::unique_ptr<TTextShotB> text_;
    std::unique_ptr<SoundPort> sounds_;
    TViewerActions* actions_ = nullptr;
    QImage linkGlyph_;
    QImage advanceGlyph_;
    bool firstShow_ = true;
    bool shownAsWindow_ = false;
    // Where the window was before it went full screen; none when it has not been shown
    // as a window yet.
    std::optional<QPoint> windowPlace_;
    // Hiding to change the window's flags is not the reader closing the viewer.
    bool changingLayout_ = false;
};

} // namespace pimoko
