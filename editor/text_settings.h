#pragma once

#include "editor/editor_ports.h"
#include "platform/canvas.h"
#include "platform/prompt_port.h"
#include "text/text_shot.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

namespace pimoko {

class FontTable;
class TBusyState;
class TPageEditor;

// The speed grid: 101 columns by 101 rows, one cell per character of the page text by its
// column and line; characters further out share the last column or row.
constexpr int kSpeedGridSize = 101;
constexpr int kSpeedGridLast = kSpeedGridSize - 1;
constexpr int kNoSpeed = -1; // the cell holds no character

// HighLightComboBox: "小", "中", "大", "最大", "OV1" .. "OV5" and an empty item.
constexpr int kHighlightItemCount = 10;
QString HighlightItemText(int item);
// The outline per pixel of font height a level stands for; any other text counts as "中".
double HighlightRatioOf(const QString& levelText);
// The level whose ratio is exactly this one, or an empty text.
QString HighlightLevelOf(double ratio);
// The outline width for a font height: height x ratio to the nearest (ties to even), at
// least 1.
int HighlightWidthFor(int fontHeight, double ratio);

// RadioGroup1: item 0 takes the number in Edit1, items 1..9 stand for fixed speeds.
constexpr int kSpeedItemCount = 10;
QString SpeedItemCaption(int item);
int SpeedOfItem(int item); // items 1..9; 0 for any other

// The faces the font dialog offers: the font table's, without symbol and OEM faces.
QStringList TextFacesOf(const FontTable& fonts);

// The colour palettes beside "文字色" and "かげの色": hues across, from light at the top to
// dark at the bottom, and a grey ramp at the right.
constexpr int kPaletteWidth = 128;
constexpr int kPaletteHeight = 64;
const QImage& ColorPalette();
// The palette's colour at a point, held inside the palette.
ColorRef PaletteColorAt(int x, int y);

// The rubber band of the preview: a frame two pixels wide inverted on the picture, so
// that drawing the same rectangle again takes it away.
void XorFrame(QImage& picture, const TextRect& rect);

// A slider as the window's track bars behave: the position is held inside min..max.
struct TrackBar {
    int min = 0;
    int max = 10;
    int position = 0;
};

// What the text settings window asks of its window half.
class TextSettingsView {
public:
    virtual ~TextSettingsView() = default;
    // Cursor ids of platform/cursor_ids.h.
    virtual void SetCursor(int id) { (void)id; }
    // Fields or controls changed: the window shows them again.
    virtual void ControlsChanged() { }
    // Preview() holds a new picture.
    virtual void PreviewChanged() { }
    virtual void ShowWindow() { }
    virtual void HideWindow() { }
    // "リンク設定": the link page chooser opens; it answers through LinkPageChosen or
    // ClearLinkPage.
    virtual void OpenLinkPicker() { }
};

// The text settings of the page being edited, as the window shows them.
struct TextSettingsFields {
    int textX = 0;
    int textY = 0;
    int fontHeight = 30; // pixels, positive
    ColorRef textColor = 0;
    ColorRef shadowColor = 0;
    bool shadowOn = true;
    bool highlightOn = false;
    int highlightWidth = 1;
    double highlightRatio = 0.03;
    QString styleString = QStringLiteral("Type_");
    bool vertical = false;
    int linePitch = 0;
    QString fontName;
    int fontCharset = -1;
    int fontFamily = -1;
    int savedLinkPage = 0; // restored by cancel
};

// "テキスト詳細設定" without its widgets: the current page's font, colours, outline,
// position, line pitch, link page and every character's typing delay, opened from the
// editor and written back into the page it was opened for.
//
// As in the window, setting a slider's position or a check box's state runs that
// control's action when the value changes, whoever sets it. Every public action draws the
// preview at most once, at its end.
class TTextSettings {
public:
    TTextSettings(
        TPageEditor& editor, TBusyState& busy, PromptPort& prompt, const FontTable& fonts);
    TTextSettings(const TTextSettings&) = delete;
    TTextSettings& operator=(const TTextSettings&) = delete;

    void SetView(TextSettingsView* view);

    // ---- State --------------------------------------------------------------------------

    const TextSettingsFields& Fields() const { return fields_; }
    // Speed of the grid cell (column, row); kNoSpeed for a cell without a character.
    int Speed(int column, int row) const;
    QString CellText(int column, int row) const;
    const QImage& Preview() const { return preview_; }
    // The rubber band on the preview; NoRect() when none is drawn.
    TextRect PreviewRect() const { return previewRect_; }
    static TextRect NoRect() { return { -10, -10, -5, -5 }; }
    // The font the font dialog shows.
    const FontChoice& DialogFont() const { return dialogFont_; }

    bool NoShadowCheckBox() const { return noShadow_; }
    bool VerticalCheckBox() const { return vertical_; }
    bool HighlightCheckBox() const { return highlight_; }
    const TrackBar& FontSizeTrackBar() const { return fontSizeBar_; }
    const TrackBar& PitchTrackBar() const { return pitchBar_; }

    // Controls the window writes directly.
    QString HighLightComboBox = QStringLiteral("中");
    int RadioGroup1 = 0;
    QString Edit1 = QStringLiteral("100");
    // Written by opening and the link chooser.
    QString LinkLabel;
    QStringList Memo1;
    // A slider is being dragged with the left mouse button: its changes only move the
    // rubber band until SliderReleased.
    bool SliderDragging = false;
    // The link page chooser is open for this window (deactivation does not cancel then).
    bool PickingLink = false;

    // ---- Actions ------------------------------------------------------------------------

    // The editor's "テキスト設定": the page's settings shown, the grid built, the preview
    // drawn over the request's scene, the window shown.
    void Open(const TextSettingsRequest& request);

    void SetNoShadowCheckBox(bool checked);
    void SetVerticalCheckBox(bool checked);
    void SetHighlightCheckBox(bool checked);
    void HighLightComboBoxChange(const QString& text);
    void SetFontSizePosition(int position);
    void SetPitchPosition(int position);
    void SliderReleased();

    // The preview clicked (any button) or dragged with the left button: the text's origin.
    void Image1MouseDown(int x, int y);
    void Button7Click(); // "フォント"
    void Button1Click(); // "文字色"
    void Button2Click(); // "かげの色"
    void FontColorImageMouseDown(int x, int y);
    void ShadowColorImageMouseDown(int x, int y);

    // A grid cell clicked or dragged over: it takes the selected speed, unless it holds no
    // character.
    void StringGrid1MouseDown(int column, int row);
    // "すべての文字をこの速度にする". Item 0 with an Edit1 that holds no number throws
    // EConvertError and changes nothing.
    void SpeedResetButtonClick();

    void LinkBitBtnClick(); // "リンク設定"
    // The link chooser's answers: the page's link page and the editor's copy of it.
    void LinkPageChosen(int page);
    void ClearLinkPage();

    void Button6Click(); // "決定"
    void Button4Click(); // "標準として使用"
    void Button3Click(); // "キャンセル"
    void FormDeactivate();
    void FormClose();

    // The window's captions and messages.
    static const QString kCaption; // "テキスト詳細設定"
    static const QString kGotoPageSet;
    static const QString kLinkCleared;
    static QString LinkLabelOf(int linkPage);

private:
    class Batch;
    friend class Batch;

    void RunNoShadowAction();
    void RunHighlightAction();
    void RunFontSizeAction();
    void SetFontSizeMax(int max);
    void SetPitchMax(int max);
    void SetPitchBar(int position);
    void RubberBand();
    void WidthFromLevel();
    void SetTextColor(ColorRef color);
    void SetShadowColor(ColorRef color);
    void BuildSpeedGrid(bool uniform, int speed);
    int SelectedSpeed() const;
    void ValidateEdit1();
    void RestoreLinkPage();
    TNovelPage& Page();

    void Redraw();
    void DrawPreview();
    void PrepareEngine();

    TPageEditor& editor_;
    TBusyState& busy_;
    PromptPort& prompt_;
    const FontTable& fonts_;
    TextSettingsView* view_;

    TextSettingsFields fields_;
    TTextShot engine_;
    std::vector<int> speeds_; // cell (c, r) at c * 101 + r
    std::vector<QString> cells_;
    TNovelPage::CharDelayArray pageDelays_ {};
    QImage scene_;
    QImage preview_;
    Canvas canvas_;
    TextRect previewRect_ = NoRect();
    FontChoice dialogFont_;

    bool noShadow_ = false;
    bool vertical_ = false;
    bool highlight_ = false;
    TrackBar fontSizeBar_ { 1, 108, 30 };
    TrackBar pitchBar_ { 0, 300, 0 };

    int openedPage_ = 0;
    int depth_ = 0;
    bool previewDirty_ = false;
};

} // namespace pimoko
