// The column of slots and the help texts of the customisation pages.
#include "styles/slotpage.h"

#include "model/prompt.h"
#include "settings/params.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace vlr {

namespace {

constexpr int kColumnWidth = 150;

} // namespace

TSlotPage::TSlotPage(TParams& params, RegistryStore& store, Prompt& prompt, QWidget* parent)
    : DialogPage(parent), params_(params), store_(store), prompt_(prompt) {}

void TSlotPage::Build(const QString& openingHelp, const QString& closingHelp) {
    auto* row = new QHBoxLayout(this);
    column_ = new QListWidget(this);
    column_->setFixedWidth(kColumnWidth);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        column_->addItem(QString::fromStdString(NameOf(slot)));
    }
    row->addWidget(column_);

    auto* right = new QVBoxLayout;
    row->addLayout(right, 1);
    openingHelp_ = AddHelp(right, openingHelp);
    editorPanel_ = new QWidget(this);
    editor_ = new QVBoxLayout(editorPanel_);
    editor_->setContentsMargins(0, 0, 0, 0);
    fields_ = new QGridLayout;
    editor_->addLayout(fields_);
    name_ = new QLineEdit(this);
    fields_->addWidget(new QLabel("Name", this), 0, 0);
    fields_->addWidget(name_, 0, 1, 1, 3);
    editorPanel_->hide();
    right->addWidget(editorPanel_);
    footer_ = new QVBoxLayout;
    right->addLayout(footer_);
    right->addStretch(1);
    if (!closingHelp.isEmpty()) {
        AddHelp(right, closingHelp);
    }

    // Nothing is chosen until the user chooses: without a current entry set here, the column
    // would make its first entry current when it takes the focus, and choose it.
    column_->setCurrentIndex(QModelIndex());
    // Arrow keys in the column choose as clicks do.
    connect(column_, &QListWidget::currentRowChanged, this, [this](int slot) {
        if (slot != chosen_) {
            ChooseSlot(slot);
        }
    });
    // A slot clicked is a slot to edit: typing goes on in its name.
    connect(column_, &QListWidget::itemClicked, this, [this] {
        name_->setFocus(Qt::MouseFocusReason);
        name_->selectAll();
    });
    connect(name_, &QLineEdit::textEdited, this, [this](const QString& text) {
        NameOf(chosen_) = text.trimmed().toStdString();
        column_->item(chosen_)->setText(text.trimmed());
        NameEdited(chosen_);
    });
}

QLabel* TSlotPage::HelpLabel(const QString& text) {
    QString html = text.toHtmlEscaped();
    html.replace("zero to remove", "<b>zero to remove</b>");
    auto* label = new QLabel(html, this);
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    return label;
}

QLabel* TSlotPage::AddHelp(QVBoxLayout* layout, const QString& text) {
    QLabel* label = HelpLabel(text);
    layout->addWidget(label);
    return label;
}

QComboBox* TSlotPage::AddUnitsBox(const QStringList& names, std::function<int32_t&(int slot)> unitsOf) {
    auto* box = new QComboBox(this);
    box->addItems(names);
    connect(box, &QComboBox::activated, this,
            [this, unitsOf = std::move(unitsOf)](int index) { unitsOf(chosen_) = index + 1; });
    return box;
}

void TSlotPage::ShowUnits(QComboBox* box, int32_t units) {
    box->setCurrentIndex(std::clamp(units, 1, box->count()) - 1);
}

void TSlotPage::ChooseSlot(int slot) {
    if (slot < 0 || slot >= kSlotCount) {
        return;
    }
    chosen_ = slot;
    column_->setCurrentRow(slot);
    openingHelp_->hide();
    editorPanel_->show();
    name_->setText(QString::fromStdString(NameOf(slot)));
    ShowSlot(slot);
}

bool TSlotPage::Refuse(const SlotRefusal& refusal) {
    ChooseSlot(refusal.slot);
    prompt_.Ask(PromptIcon::Warning, refusal.message, PromptButtons::Ok);
    return false;
}

void TSlotPage::StoreStyleLists() {
    SaveStyleLists(params_, store_);
}

} // namespace vlr
