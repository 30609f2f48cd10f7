// LoadBook on arbitrary bytes, load only (round_trip_book.cpp saves what it loads). One
// book takes every input in turn, as the editor's book takes every book of a session, so
// what one file leaves behind shows in the checks of the next:
// - the result agrees with the path kept and the modified flag;
// - the fade wait of the defaults is always a number (the defaults go into every later
//   save and into the settings file);
// - the pages in use are 1..k and every page after them is cleared;
// - no value holds a line break (a save would make lines of it), no text line is the
//   text's end tag, and link and goto pages are 0..300.
#include "book/open_book.h"
#include "platform/numbers.h"
#include "platform/prompt_port.h"
#include "tests/fuzz/book_input.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <tuple>

using namespace pimoko;

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

// Every field but PageNumber, which Clear keeps.
auto Fields(const TNovelPage& p)
{
    return std::tie(p.InUse, p.Title, p.SoundFile, p.PictureFile, p.PicEffect, p.ClipMode, p.ClipX,
        p.ClipY, p.ClipTransparent, p.EffectWait, p.TextLines, p.TextX, p.TextY, p.Vertical,
        p.LinePitch, p.CharDelays, p.FontHeight, p.FontColor, p.ShadowColor, p.Shadow, p.Highlight,
        p.HighlightLevel, p.FontStyle, p.FontName, p.FontFamily, p.FontCharset, p.WriteAll,
        p.FillImage, p.FillColor, p.AutoNext, p.DrawToBackBuffer, p.ShowBackBuffer, p.SoundLoop,
        p.SoundStop, p.LinkPage, p.Period, p.GotoPage, p.DistPictureName, p.DistSoundName);
}

bool OneLine(const QString& s)
{
    return !s.contains(QLatin1Char('\n'));
}

void CheckPage(const TNovelPage& p)
{
    Check(OneLine(p.Title) && OneLine(p.SoundFile) && OneLine(p.PictureFile) && OneLine(p.FontStyle)
        && OneLine(p.FontName));
    for (const QString& line : p.TextLines)
        Check(OneLine(line) && line != QLatin1String("<END TEXT>"));
    Check(p.LinkPage >= 0 && p.LinkPage <= TOpenBook::kPageCount);
    Check(p.GotoPage >= 0 && p.GotoPage <= TOpenBook::kPageCount);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fuzz::KeepCurrentFolder keep;
    static ScriptedPromptPort prompt;
    static TOpenBook book(prompt, fuzz::InputFolder().path());
    static const TNovelPage cleared;
    // Pages past this one have held nothing since the run began.
    static int touched = 0;

    fuzz::WriteInput(data, size);
    prompt.shown.clear();
    book.MarkModified();
    const bool loaded = book.LoadBook(fuzz::InputPath());

    Check(!book.Modified);
    Check(loaded ? book.BookFilePath == fuzz::InputPath() : book.BookFilePath.isEmpty());
    Check(loaded == prompt.shown.empty());
    int wait = 0;
    Check(TryStrToInt(book.DefaultEffectWaitText, &wait) && wait == book.DefaultEffectWait);
    Check(OneLine(book.BookTitle) && OneLine(book.Escapement) && OneLine(book.DefaultFontName)
        && OneLine(book.DefaultFontStyle));

    int inUse = 0;
    while (inUse < TOpenBook::kPageCount && book.Page(inUse + 1).InUse)
        CheckPage(book.Page(++inUse));
    touched = std::max(touched, std::min(inUse + 1, TOpenBook::kPageCount));
    for (int n = inUse + 1; n <= touched; ++n)
        Check(Fields(book.Page(n)) == Fields(cleared));
    return 0;
}
