#pragma once

#include "book/novel_page.h"
#include "platform/canvas.h"

#include <QImage>
#include <QString>

namespace pimoko {

// What the page editor asks of the windows around it. Every port does nothing by
// default, so the editing state runs without windows and each window can be bound on
// its own. A port the session does not give is replaced by its default.

// The editor window itself.
class EditorViewPort {
public:
    virtual ~EditorViewPort() = default;
    // Cursor ids of platform/cursor_ids.h: the wait cursor at the start of a long
    // action, the default one at its end.
    virtual void SetCursor(int id) { (void)id; }
    // The controls changed (a page was shown, cleared or stored, a label changed).
    virtual void ControlsChanged() { }
    // Preview() holds a new picture.
    virtual void PreviewChanged() { }
    // Brings the editor window up before a question about the book is asked.
    virtual void ShowEditorWindow() { }
    // The window repaints itself (after a page is shown, on deactivation).
    virtual void RepaintEditor() { }
    // The window is minimised (deactivation hides the title list then).
    virtual bool IsMinimised() const { return false; }
};

// The page title list window as the editor uses it.
class EditorTitleListPort {
public:
    virtual ~EditorTitleListPort() = default;
    virtual bool IsVisible() const { return false; }
    // Thumbnails and titles drawn again (after a page changed).
    virtual void Refresh() { }
    // Only the titles read again (after the page heading changed).
    virtual void ReloadTitles() { }
    // The list is showing pages for the reader while a book plays.
    virtual bool ServesPlayer() const { return false; }
    virtual void Hide() { }
    // "見出し": shown in normal style, its page slider hidden, thumbnails as its check
    // box says.
    virtual void ShowForEditing() { }
    // Back to its top with no selection (after a load or a new book).
    virtual void Reset() { }
};

// What the text settings window is opened with.
struct TextSettingsRequest {
    // The page record with the default font given when it had none.
    TNovelPage page;
    // The background, the clips and texts of the pages below, and the page's own clip.
    QImage scene;
    // "ページリンクなし" or the number followed by "ページへリンク".
    QString linkLabel;
    int linkPage = 0;
    // The text of the default speed field (the window's delay edit takes it).
    QString defaultDelayText;
    int defaultDelay = 0;
    // Every character starts at the default delay (the text was edited or is new);
    // otherwise the delays stored in the page.
    bool defaultDelays = false;
};

class TextSettingsPort {
public:
    virtual ~TextSettingsPort() = default;
    virtual void OpenTextSettings(const TextSettingsRequest& request) { (void)request; }
};

// What the page effects window is opened with. The window writes its choices into the
// editor's value holders and the goto page, then calls EffectsChosen().
struct EffectsRequest {
    int drawMode = 1; // 1 direct, 2 into the sketch, 3 the sketch shown
    bool autoNext = false;
    bool picEffect = false;
    QString waitText; // for both of its wait edits
    QString nextPageLabel; // the goto page followed by "ページへ進む", or empty
};

class EffectsPort {
public:
    virtual ~EffectsPort() = default;
    // The window places itself at the editor's left + width div 2, top + 50.
    virtual void OpenEffects(const EffectsRequest& request) { (void)request; }
};

// What the clip settings window is opened with; its decision comes back through
// TPageEditor::ConfirmClip.
struct ClipRequest {
    QString pictureFile; // resolved, known to exist
    int clipX = 0;
    int clipY = 0;
    bool transparent = true;
};

class ClipSettingsPort {
public:
    virtual ~ClipSettingsPort() = default;
    virtual void OpenClipSettings(const ClipRequest& request) { (void)request; }
};

// What the book options window is opened with; its OK writes the default fade wait back
// through TPageEditor::SetDefaultEffectWaitEdit.
struct BookOptionsRequest {
    QString defaultEffectWait;
    // BookFilePath, or "ファイルが保存されていない" for a book never saved.
    QString fileLabel;
};

class BookOptionsPort {
public:
    virtual ~BookOptionsPort() = default;
    // The window places itself at the editor's top-left corner.
    virtual void OpenBookOptions(const BookOptionsRequest& request) { (void)request; }
};

// The graphic editor. A click on the preview hands it the page's background with
// SetCanvas, then opens it; a saved picture comes back through
// TPageEditor::GraphicEditorSaved.
class GraphicEditorPort {
public:
    virtual ~GraphicEditorPort() = default;
    // The 640 x 480 canvas is replaced by this picture.
    virtual void SetCanvas(const QImage& canvas) { (void)canvas; }
    // Opens the window on the canvas given last; fileName is the picture file it came from
    // ("" for a fill or black), which names the saved picture.
    virtual void OpenGraphicEditor(const QString& fileName) { (void)fileName; }
};

} // namespace pimoko
