// The hint page frame.
#include "panels/linehelp.h"

#include "render/rastercanvas.h"
#include "settings/params.h"

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <cmath>
#include <memory>

namespace vlr {

namespace {

constexpr int kTitleHeight = 20;
constexpr int kBulletWidth = 17;
constexpr int kBulletHeight = 23;
constexpr const char* kCheckText = "Don't show this help page again.";
constexpr int kLabelLeft = 20;
constexpr int kLabelHeight = 46;
// What the frame keeps below the check box's label where the page puts it.
constexpr int kBottomMargin = TLinehelp::kFrameHeight - HintLayout{}.labelTop - kLabelHeight;

void Colour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::Base, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QTextEdit* TextBox(QWidget* parent, const QColor& colour) {
    auto* box = new QTextEdit(parent);
    box->setReadOnly(true);
    box->setFrameStyle(QFrame::NoFrame);
    box->setFocusPolicy(Qt::NoFocus);
    box->setTextInteractionFlags(Qt::NoTextInteraction);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->viewport()->setMouseTracking(true);
    Colour(box, colour);
    Colour(box->viewport(), colour);
    return box;
}

QPixmap BulletPicture() {
    QPixmap picture(kBulletWidth, kBulletHeight);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 160));
    const QPointF arrow[] = {{6, 7}, {12, 12}, {6, 17}};
    painter.drawPolygon(arrow, 3);
    return picture;
}

// The first occurrence of a phrase, set with a format; a phrase that does not occur changes
// nothing.
void Mark(QTextDocument& document, const std::string& phrase, QTextDocument::FindFlags flags,
          const QTextCharFormat& format) {
    if (phrase.empty()) {
        return;
    }
    QTextCursor found = document.find(QString::fromStdString(phrase), 0, flags);
    if (!found.isNull()) {
        found.mergeCharFormat(format);
    }
}

// The height a box's text takes wrapped at the box's width: the boxes have no frame, so their text
// is as wide as they are.
int TextHeight(const QTextDocument& document, int width) {
    std::unique_ptr<QTextDocument> copy(document.clone());
    copy->setTextWidth(width);
    return static_cast<int>(std::ceil(copy->size().height()));
}

} // namespace

HintHost::~HintHost() = default;

TLinehelp::TLinehelp(HintHost& host, QWidget* parent) : QWidget(parent), host_(host) {
    setMinimumSize(kFrameWidth, kFrameHeight);
    const QColor panelColour(QRgbFromColour(host_.params().initWindow.panelColor));
    Panel0 = new QWidget(this);
    Colour(Panel0, panelColour);
    Panel0->setAttribute(Qt::WA_TransparentForMouseEvents);
    Title1 = new QLabel(this);
    Title1->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (size_t i = 0; i < paragraphs_.size(); ++i) {
        bullets_[i] = new QLabel(this);
        bullets_[i]->setPixmap(BulletPicture());
        bullets_[i]->setAttribute(Qt::WA_TransparentForMouseEvents);
        paragraphs_[i] = TextBox(this, panelColour);
        paragraphs_[i]->viewport()->installEventFilter(this);
    }
    CheckBox1 = new QCheckBox(this);
    CheckBox1->setFocusPolicy(Qt::NoFocus);
    connect(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
    RichEdit4 = TextBox(this, panelColour);
    RichEdit4->setPlainText(kCheckText);
    RichEdit4->viewport()->setCursor(Qt::PointingHandCursor);
    RichEdit4->viewport()->installEventFilter(this);
    setMouseTracking(true);
}

void TLinehelp::ShowHintPage(int code) {
    pageCode_ = code;
    text_ = HintPageContent(code, host_.params());
    layout_ = HintPageLayout(code);
    const bool links = HintPageHasLinks(code);
    for (int k = 1; k <= kHintParagraphs; ++k) {
        const size_t i = static_cast<size_t>(k - 1);
        const HintBox& box = layout_.paragraphs[i];
        const bool hasLink = links && !text_.paragraphs[i].link.empty();
        paragraphs_[i]->setVisible(box.shown);
        bullets_[i]->setVisible(box.shown);
        paragraphs_[i]->viewport()->setCursor(hasLink ? Qt::PointingHandCursor : Qt::ArrowCursor);
        // A paragraph without a link counts as lit, so that pointing at it highlights nothing.
        linkLit_[i] = !hasLink;
        WriteParagraph(k, false);
    }
    resizeEvent(nullptr);
}

void TLinehelp::WriteParagraph(int k, bool lit) {
    const HintParagraph& text = text_.paragraphs[static_cast<size_t>(k - 1)];
    QTextEdit* box = paragraph(k);
    box->setPlainText(QString::fromStdString(text.text));
    QTextDocument& document = *box->document();
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(Qt::black);
    for (const std::string& word : text.keyWords) {
        Mark(document, word, QTextDocument::FindCaseSensitively, bold);
    }
    QTextCharFormat link;
    link.setFontUnderline(true);
    link.setForeground(lit ? QColor(0, 0, 255) : QColor(Qt::black));
    Mark(document, text.link, {}, link);
}

void TLinehelp::DrawTitle() {
    // The title picture belongs to the frame and follows its width.
    QPixmap picture(std::max(width(), 1), kTitleHeight);
    picture.fill(QColor(QRgbFromColour(host_.params().initWindow.panelColor)).darker(115));
    QPainter painter(&picture);
    QFont font = this->font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(picture.rect().adjusted(6, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, "Hints");
    painter.end();
    Title1->setGeometry(0, 0, picture.width(), kTitleHeight);
    Title1->setPixmap(picture);
}

void TLinehelp::resizeEvent(QResizeEvent*) {
    Panel0->setGeometry(rect());
    Panel0->lower();
    ArrangeParagraphs();
    DrawTitle();
}

void TLinehelp::ArrangeParagraphs() {
    // The boxes reach to the frame's right edge less a pixel; their heights follow their texts at
    // that width, so that no paragraph scrolls or is cut.
    auto widthFrom = [this](int left) { return std::max(Panel0->width() - left - 1, 1); };
    std::array<int, kHintParagraphs> textHeights{};
    for (size_t i = 0; i < paragraphs_.size(); ++i) {
        textHeights[i] = TextHeight(*paragraphs_[i]->document(), widthFrom(layout_.paragraphs[i].left));
    }
    const HintLayout fitted = FitHintLayout(layout_, textHeights);
    for (size_t i = 0; i < paragraphs_.size(); ++i) {
        const HintBox& box = fitted.paragraphs[i];
        paragraphs_[i]->setGeometry(box.left, box.top, widthFrom(box.left), box.height);
        bullets_[i]->setGeometry(0, box.bulletTop, kBulletWidth, kBulletHeight);
    }
    CheckBox1->move(4, fitted.checkBoxTop);
    RichEdit4->setGeometry(kLabelLeft, fitted.labelTop, widthFrom(kLabelLeft), kLabelHeight);
    // A page whose paragraphs grew is taller than the frame's own size.
    setMinimumHeight(std::max(kFrameHeight, fitted.labelTop + kLabelHeight + kBottomMargin));
}

bool TLinehelp::eventFilter(QObject* watched, QEvent* event) {
    const bool move = event->type() == QEvent::MouseMove;
    const bool press = event->type() == QEvent::MouseButtonPress;
    if (!move && !press) {
        return QWidget::eventFilter(watched, event);
    }
    if (watched == RichEdit4->viewport()) {
        if (press) {
            RichEdit4MouseDown();
        } else {
            PointedElsewhere();
        }
        return true;
    }
    for (int k = 1; k <= kHintParagraphs; ++k) {
        if (watched == paragraph(k)->viewport()) {
            press ? ParagraphMouseDown(k) : ParagraphMouseMove(k);
            // The handler may have switched the page away; nothing more happens here.
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TLinehelp::mouseMoveEvent(QMouseEvent* event) {
    PointedElsewhere();
    QWidget::mouseMoveEvent(event);
}

void TLinehelp::PointedElsewhere() {
    ResetHintLinks(0);
    host_.PlainSuggestionRows();
}

void TLinehelp::ResetHintLinks(int except) {
    for (int k = 1; k <= kHintParagraphs; ++k) {
        const size_t i = static_cast<size_t>(k - 1);
        if (k == except || !linkLit_[i] || text_.paragraphs[i].link.empty() || !HintPageHasLinks(pageCode_)) {
            continue;
        }
        WriteParagraph(k, false);
        linkLit_[i] = false;
        if (pageCode_ == 1038 && (k == 1 || k == 3)) {
            host_.PlainToolbarButtons();
        }
    }
}

void TLinehelp::ParagraphMouseMove(int k) {
    const size_t i = static_cast<size_t>(k - 1);
    if (!HintPageHasLinks(pageCode_) || text_.paragraphs[i].link.empty()) {
        ResetHintLinks(0);
        return;
    }
    ResetHintLinks(k);
    if (linkLit_[i]) {
        return;
    }
    WriteParagraph(k, true);
    linkLit_[i] = true;
    if (pageCode_ == 1038) {
        // Undo and Redo stand for the toolbar's buttons of the same name.
        if (k == 1) {
            host_.PlainSuggestionRows(2);
        }
        host_.HighlightHistoryButton(k == 3);
        return;
    }
    host_.HighlightSuggestionRow(k);
}

void TLinehelp::ParagraphMouseDown(int k) {
    const HintLinkStep step = LinkStepOf(pageCode_, k, host_.params());
    if (!step.acts) {
        return;
    }
    if (step.hideParagraph) {
        paragraph(k)->hide();
    }
    if (step.pictureEditor) {
        if (host_.PictureEditorShowing()) {
            host_.PictureEditorSwitchLater(step.code);
        }
        return;
    }
    if (step.selectLast) {
        host_.SelectLastItem();
    }
    if (step.undo) {
        host_.UndoDesign();
    }
    // The switch frees this page: it runs after this handler has returned, never inside it.
    host_.SwitchLater(step.code);
}

void TLinehelp::CheckBox1Click() {
    const bool ticked = CheckBox1->isChecked();
    SetHintShown(host_.params(), pageCode_, !ticked);
    if (!ticked) {
        return;
    }
    const HintFollowOn next = FollowOnOf(pageCode_, host_.DesignHasSelection());
    if (next.target == HintFollowOn::MainWindow) {
        host_.SwitchLater(next.code);
    } else if (next.target == HintFollowOn::PictureEditor && host_.PictureEditorShowing()) {
        host_.PictureEditorSwitchLater(next.code);
    }
}

void TLinehelp::RichEdit4MouseDown() {
    // The label only ever ticks the box.
    if (!CheckBox1->isChecked()) {
        CheckBox1->setChecked(true);
        CheckBox1Click();
    }
}

} // namespace vlr
