#pragma once

#include <QString>
#include <QVector>

#include <array>

namespace pimoko {

class TOpenBook;

// One page number handed to a list entry, so that the entry knows its page.
struct TPageTitle {
    int PageNumber = 0;
};

struct TitleListEntry {
    QString text;
    const TPageTitle* title = nullptr; // one of the list's 300 objects
    int page() const { return title ? title->PageNumber : 0; }
};

// The pages the reader can choose with the slider: those in use with a background of
// their own (a fill, or a picture that is not a clip). Never empty: page 1 stands in.
struct SliderPageTable {
    std::array<int, 300> pages;
    int count = 0;
    void Rebuild(const TOpenBook& book);
    int PositionOf(int page) const; // -1 when the page is not in the table
};

// What the page title list knows, without its window: the entries of both modes, the
// slider's table and position, and whether the reader moved the slider.
class TTitleList {
public:
    enum Mode { EditorMode = 0, PlayerMode = 1 };

    explicit TTitleList(const TOpenBook& book);

    // Titled pages, numbered 1, 2, 3 … in list order; thumbnails off, player mode.
    QVector<TitleListEntry> BuildPlayerList();
    // Every page in use, as one padded line each (thumbnails off) or "n:title".
    QVector<TitleListEntry> BuildEditorList();
    QVector<TitleListEntry> BuildList()
    {
        return mode == PlayerMode ? BuildPlayerList() : BuildEditorList();
    }

    // The slider table from scratch, position 0.
    void RebuildSlider();
    // Enables the slider and puts it on page n when n is in the table. Never a reader's move.
    void SelectSliderPage(int n);
    // The reader dragged or clicked the slider to position.
    void ReaderMovedSlider(int position);
    // When the reader moved the slider: clears the flag and returns the page at its
    // position (the caller shows it and stops the sounds); otherwise 0.
    int TakeSliderJump();

    int SliderMaximum() const { return slider_.count - 1; }
    int SliderPage(int position) const;
    const SliderPageTable& Slider() const { return slider_; }

    int mode = PlayerMode;
    bool thumbnails = false;
    int sliderPosition = 0;
    bool sliderEnabled = true;
    bool sliderMoved = false;

private:
    void RefreshSlider();

    const TOpenBook& book_;
    std::array<TPageTitle, 300> titles_;
    SliderPageTable slider_;
};

// printf's "%-W.Ws" (left) or "%W.Ws" (right) where W counts Shift_JIS bytes; a
// double-byte character that would be cut in two is left out and its byte padded.
QString FormatSjisField(const QString& text, int width, bool leftAlign);

} // namespace pimoko
