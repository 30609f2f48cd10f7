#include "editor/ui/editor_window.h"

#include "book/open_book.h"
#include "editor/editor_layout.h"
#include "editor/ui/editor_glyphs.h"
#include "editor/ui/editor_preview.h"
#include "editor/ui/editor_window_parts.h"
#include "editor/web_export.h"
#include "platform/busy_state.h"
#include "platform/cursor_ids.h"
#include "platform/prompt_port.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <memory>

namespace pimoko {

TForm2::TForm2(TPageEditor& editor, const TBusyState& busy, PromptPort& prompt,
    EditorWindowPeers& peers, EditorPorts ports, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , editor_(editor)
    , busy_(busy)
    , prompt_(prompt)
    , peers_(peers)
{
    setWindowTitle(QStringLiteral("ピモコエディタ"));
    setMinimumSize(kInitialWidth, kInitialHeight);
    resize(kInitialWidth, kInitialHeight);
    setFont(EditorFont(12));

    BuildBars();
    Panel1 = new QFrame(this);
    BuildPicturePanel();
    BuildPanel4();
    FormResize();

    // The title field starts as "新規ピモコ", and the title is the field's copy, until a
    // book is loaded or started.
    TOpenBook& book = editor_.Book();
    if (book.BookTitle.isEmpty() && book.BookFilePath.isEmpty())
        book.BookTitle = BookTitleEdit->text();

    SetPorts(ports);
    ShowState();
}

void TForm2::SetPorts(const EditorPorts& ports)
{
    ports_ = ports;
    ports_.view = this;
    editor_.SetPorts(ports_);
}

TForm2::~TForm2()
{
    // The page editor outlives the window.
    ports_.view = nullptr;
    editor_.SetPorts(ports_);
    if (waitCursor_)
        QApplication::restoreOverrideCursor();
}

bool TForm2::Busy() const
{
    return busy_.IsBusy();
}

void TForm2::BuildBars()
{
    Panel2 = new QFrame(this);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Label1 = new QLabel(QStringLiteral("作品名"), Panel2);
    BookTitleEdit = new QLineEdit(QStringLiteral("新規ピモコ"), Panel2);
    BookTitleEdit->setToolTip(QStringLiteral("絵本の題名を入力します。"));
    ReadBitBtn = MakeButton(QStringLiteral("再生"), QStringLiteral("このページから再生します。"),
        EditorGlyph::Play, Panel2);
    BitBtn5 = MakeButton(QStringLiteral("見出し"),
        QStringLiteral("ページ見出しの一覧を表示します。"), EditorGlyph::TitleList, Panel2);
    OptionButton = MakeButton(QStringLiteral("編集オプション"),
        QStringLiteral("この絵本の編集オプションを設定します。"), EditorGlyph::Options, Panel2);
    auto* top = new QHBoxLayout(Panel2);
    top->setContentsMargins(8, 4, 8, 4);
    top->addWidget(Label1);
    top->addWidget(BookTitleEdit, 1);
    top->addSpacing(12);
    top->addWidget(ReadBitBtn);
    top->addWidget(BitBtn5);
    top->addWidget(OptionButton);

    Panel5 = new QFrame(this);
    Panel5->setFrameStyle(QFrame::Panel | QFrame::Raised);
    OpenBitBtn = MakeButton(QStringLiteral("開く"), QStringLiteral("ピモコファイルを開きます。"),
        EditorGlyph::OpenBook, Panel5);
    SaveBitBtn = MakeButton(
        QStringLiteral("保存"), QStringLiteral("絵本を保存します。"), EditorGlyph::Save, Panel5);
    SaveAsBitBtn = MakeButton(QStringLiteral("名前を付けて保存"),
        QStringLiteral("名前を付けて絵本を保存します。"), EditorGlyph::SaveAs, Panel5);
    WriteBitBtn = MakeButton(QStringLiteral("配布ファイル作成"),
        QStringLiteral("配布をするために必要なファイルを作ります。"), EditorGlyph::Distribute,
        Panel5);
    WebBitBtn = MakeButton(QStringLiteral("Web用に書き出す…"),
        QStringLiteral("ブラウザで読めるWebページのフォルダに書き出します。"), EditorGlyph::WebPage,
        Panel5);
    auto* bottom = new QHBoxLayout(Panel5);
    bottom->setContentsMargins(8, 4, 8, 4);
    bottom->addWidget(OpenBitBtn);
    bottom->addWidget(SaveBitBtn);
    bottom->addWidget(SaveAsBitBtn);
    bottom->addStretch(1);
    bottom->addWidget(WebBitBtn);
    bottom->addWidget(WriteBitBtn);

    connect(BookTitleEdit, &QLineEdit::textEdited, this,
        [this](const QString& text) { Act([&] { editor_.BookTitleEditChange(text); }); });
    connect(ReadBitBtn, &QPushButton::clicked, this, &TForm2::ReadBitBtnClick);
    connect(BitBtn5, &QPushButton::clicked, this, [this] { Act([&] { editor_.BitBtn5Click(); }); });
    connect(OptionButton, &QPushButton::clicked, this,
        [this] { Act([&] { editor_.OptionButtonClick(); }); });
    connect(OpenBitBtn, &QPushButton::clicked, this, &TForm2::OpenBitBtnClick);
    connect(SaveBitBtn, &QPushButton::clicked, this, &TForm2::SaveBitBtnClick);
    connect(SaveAsBitBtn, &QPushButton::clicked, this, &TForm2::SaveAsBitBtnClick);
    connect(WriteBitBtn, &QPushButton::clicked, this, &TForm2::WriteBitBtnClick);
    connect(WebBitBtn, &QPushButton::clicked, this, &TForm2::WebBitBtnClick);
}

void TForm2::Act(const std::function<void()>& action)
{
    struct ShowAfter {
        TForm2* window;
        ~ShowAfter() { window->ShowState(); }
    } showAfter { this };
    action();
}

// ---- Layout ---------------------------------------------------------------------------

void TForm2::FormResize()
{
    const int barHeight = std::max(Panel2->sizeHint().height(), 34);
    Panel2->setGeometry(0, 0, width(), barHeight);
    Panel5->setGeometry(0, height() - barHeight, width(), barHeight);
    Panel1->setGeometry(0, barHeight, width(), std::max(0, height() - 2 * barHeight));

    const EditorLayout layout = ComputeEditorLayout(Panel1->size());
    Panel3->setGeometry(layout.panel3);
    Panel4->setGeometry(layout.panel4);
    Image1->setGeometry(layout.image);
    Bevel6->setGeometry(layout.bevel);
    PlacePreviewControls();
}

void TForm2::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

// ---- Showing the state ----------------------------------------------------------------

void TForm2::ShowState()
{
    ShowBookTitle();
    ShowText();
    ShowPictureState();
    ShowSoundState();
    ShowSummary();
    PageLabel->setText(editor_.PageLabel);
    Image1->update();
}

void TForm2::ShowBookTitle()
{
    const QString title = editor_.BookTitleEdit();
    if (BookTitleEdit->text() != title) {
        const QSignalBlocker block(BookTitleEdit);
        BookTitleEdit->setText(title);
    }
}

void TForm2::PreviewChanged()
{
    Image1->update();
}

void TForm2::SetCursor(int id)
{
    if (id == kCursorWait && !waitCursor_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        waitCursor_ = true;
    } else if (id != kCursorWait && waitCursor_) {
        QApplication::restoreOverrideCursor();
        waitCursor_ = false;
    }
}

void TForm2::ShowEditorWindow()
{
    if (!isVisible())
        show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

// ---- The book-wide actions ------------------------------------------------------------

void TForm2::ReadBitBtnClick()
{
    if (Busy())
        return;
    Act([&] { peers_.PlayFromCurrentPage(); });
}

void TForm2::SaveBitBtnClick()
{
    if (Busy())
        return;
    WindowWaitCursor wait;
    Act([&] { editor_.Book().SaveBook(); });
}

void TForm2::SaveAsBitBtnClick()
{
    if (Busy())
        return;
    Act([&] { editor_.Book().SaveBookAs(); });
}

void TForm2::OpenBitBtnClick()
{
    if (Busy() || !editor_.Book().ConfirmDiscard())
        return;
    FileDialogRequest request;
    request.title = QStringLiteral("ピモコファイルを開く");
    // The loader takes ".pmk" files only, so the dialog offers those.
    request.filter = QStringLiteral("ピモコファイル(pmk)|*.pmk");
    request.defaultExt = QStringLiteral("pmk");
    request.initialFolder = editor_.Book().BookFolder;
    const QString path = prompt_.OpenFileName(request);
    if (path.isEmpty())
        return;
    WindowWaitCursor wait;
    Act([&] { editor_.Book().LoadBook(path); });
}

void TForm2::WriteBitBtnClick()
{
    if (Busy())
        return;
    if (editor_.Book().BookFilePath.isEmpty()) {
        prompt_.ShowMessage(MessageKind::Information, windowTitle(),
            QStringLiteral("配布ファイルを作成する前にファイルを保存して下さい"));
        return;
    }
    Act([&] { peers_.OpenDistribution(); });
}

namespace {

// The progress of a web export, in a window that keeps the rest of the program still
// while the folder is written and whose button stops it.
class WebExportProgressWindow : public WebExportProgressPort {
public:
    explicit WebExportProgressWindow(QWidget* parent)
        : parent_(parent)
    {
    }
    void Begin() override
    {
        dialog_ = std::make_unique<QProgressDialog>(
            QStringLiteral("Web用に書き出しています…"), QStringLiteral("中止"), 0, 1, parent_);
        dialog_->setWindowTitle(parent_->windowTitle());
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoReset(false);
        dialog_->setValue(0);
    }
    bool Step(int done, int total) override
    {
        if (!dialog_)
            return true;
        dialog_->setMaximum(std::max(1, total));
        dialog_->setValue(std::min(done, total));
        QCoreApplication::processEvents();
        return !dialog_->wasCanceled();
    }
    void End() override { dialog_.reset(); }

private:
    QWidget* parent_;
    std::unique_ptr<QProgressDialog> dialog_;
};

} // namespace

void TForm2::WebBitBtnClick()
{
    if (Busy())
        return;
    Act([&] {
        // What the page shows now goes out with the book, saved or not.
        editor_.StorePage();
        WebExportProgressWindow progress(this);
        ExportBookForWeb(editor_.Book(), prompt_, progress, windowTitle());
    });
}

void TForm2::PrevNewPageBitBtnClick()
{
    if (Busy())
        return;
    Act([&] {
        if (!peers_.OpenInsertion(true))
            editor_.InsertBeforeCurrent();
    });
}

void TForm2::NextNewPageBitBtnClick()
{
    if (Busy())
        return;
    Act([&] {
        if (!peers_.OpenInsertion(false))
            editor_.InsertAfterCurrent();
    });
}

// ---- Window events --------------------------------------------------------------------

void TForm2::FormShow()
{
    const QScreen* s = screen();
    if (!s)
        return;
    move(FirstShowPlace(s->availableGeometry(), frameGeometry().size()));
}

void TForm2::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (firstShow_ && !event->spontaneous()) {
        firstShow_ = false;
        FormShow();
    }
}

void TForm2::closeEvent(QCloseEvent* event)
{
    // Refused until the end, so that a conversion error on the way keeps the window.
    event->ignore();
    if (Busy())
        return;
    // The page being edited goes into the book before the book is asked about.
    Act([&] { editor_.StorePage(); });
    if (!editor_.Book().ConfirmDiscard())
        return;
    peers_.WriteSettings();
    event->accept();
}

void TForm2::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && isVisible())
        Act([&] { editor_.FormDeactivate(); });
}

} // namespace pimoko
