#include "app/ui/program.h"

#include "editor/page_editor.h"
#include "paint/ui/graphic_editor_window.h"

namespace pimoko {

namespace {

// The graphic editor window as the editor's port: the background handed over with
// SetCanvas is what it opens on, and a saved picture goes back to the page editor.
class GraphicEditorWindow : public TForm13, public GraphicEditorPort, public GraphicEditorHost {
public:
    GraphicEditorWindow(TBookSession& session, PromptPort& prompt)
        : TForm13(prompt, session.StartupFolder())
        , session_(session)
    {
        SetHost(this);
    }

    // GraphicEditorPort
    void SetCanvas(const QImage& canvas) override { canvas_ = canvas; }
    void OpenGraphicEditor(const QString& fileName) override { OpenOn(canvas_, fileName); }

    // GraphicEditorHost
    QString BookFolder() const override { return session_.Book().BookFolder; }
    void PictureSaved(const QString& path) override
    {
        if (TPageEditor* editor = session_.Editor())
            editor->GraphicEditorSaved(path);
    }

private:
    TBookSession& session_;
    QImage canvas_;
};

} // namespace

void Program::RegisterGraphicEditorWindow()
{
    registry_.Register(QStringLiteral("TForm13"), [this] {
        auto window = std::make_unique<GraphicEditorWindow>(session_, *prompt_);
        GraphicEditorWindow* form13 = window.get();
        windows_.push_back(std::move(window));
        editorPorts_.graphicEditor = form13;
        ConnectEditorPorts();
        return form13;
    });
}

} // namespace pimoko
