// The page setup page.
#include "app/pagesetuppage.h"

#include "app/mainwindow.h"
#include "canvas/designview.h"
#include "model/prompt.h"
#include "output/pagedim.h"
#include "settings/designtype.h"
#include "settings/pageheader.h"

#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace vlr {

namespace {

// The offered design types in the chooser's order.
std::vector<int32_t> OfferedTypes() {
    std::vector<int32_t> types;
    for (int32_t type = 1; type <= kDesignTypeCount; ++type) {
        const DesignTypeInfo* info = DesignTypeInfoOf(type);
        if (info && info->chooserPosition > 0) {
            types.push_back(type);
        }
    }
    std::sort(types.begin(), types.end(), [](int32_t a, int32_t b) {
        return DesignTypeInfoOf(a)->chooserPosition < DesignTypeInfoOf(b)->chooserPosition;
    });
    return types;
}

} // namespace

TPageSetupPage::TPageSetupPage(TForm1& form, Prompt& prompt, int32_t number, QWidget* parent)
    : DialogPage(parent), form_(form), prompt_(prompt), number_(number) {
    layout_ = new QVBoxLayout(this);
    auto* typeLabel = new QLabel("Design type", this);
    typeBox_ = new QComboBox(this);
    for (int32_t type : OfferedTypes()) {
        typeBox_->addItem(DesignTypeInfoOf(type)->name, type);
    }
    layout_->addWidget(typeLabel);
    layout_->addWidget(typeBox_);

    pageset_t pageset;
    int32_t type = form_.params().state.pspage;
    if (DesignView* design = Design()) {
        const ItemRecord* header = FindRecord(design->items(), ItemKind::Header);
        type = header ? std::abs(static_cast<int32_t>(header->designType)) : type;
        type = IsDesignType(type) ? type : DesignType::BusinessCards;
        pageset = form_.params().state.pagesets[type - 1];
        if (header) {
            pageset.orientation = header->orientation == 2 ? 2 : 1;
            pageset.units = header->units >= 1 && header->units <= 3 ? int32_t(header->units) : pageset.units;
            ReadBackPageTexts(header, pageset.dims[pageset.units - 1]);
            pageset.dims[pageset.units - 1].preset = header->presetIndex;
        }
    } else {
        type = IsDesignType(type) ? type : DesignType::BusinessCards;
        pageset = form_.params().state.pagesets[type - 1];
    }
    typeBox_->setCurrentIndex(std::max(0, typeBox_->findData(type)));
    ShowDimensions(pageset, type);
    connect(typeBox_, &QComboBox::currentIndexChanged, this, [this] {
        int32_t chosen = typeBox_->currentData().toInt();
        ShowDimensions(form_.params().state.pagesets[chosen - 1], chosen);
    });
}

DesignView* TPageSetupPage::Design() const {
    if (number_ == 0) {
        return nullptr;
    }
    for (DesignView* design : form_.OpenDesigns()) {
        if (design->docNumber() == number_) {
            return design;
        }
    }
    return nullptr;
}

void TPageSetupPage::ShowDimensions(const pageset_t& pageset, int32_t designType) {
    if (dimensions_) {
        layout_->removeWidget(dimensions_);
        dimensions_->deleteLater();
    }
    dimensions_ = new TPagedim(pageset, designType, this);
    layout_->addWidget(dimensions_, 1);
}

bool TPageSetupPage::RunAction() {
    const pageset_t& pageset = dimensions_->PageSetup();
    const int32_t type = dimensions_->DesignType();
    if (QString problem = dimensions_->Problem(); !problem.isEmpty()) {
        prompt_.Ask(PromptIcon::Warning, problem.toStdString(), PromptButtons::Ok);
        return false;
    }
    if (number_ == 0) {
        // New files take this page setup and design type.
        form_.params().state.pagesets[type - 1] = pageset;
        form_.params().state.pspage = type;
        return true;
    }
    DesignView* design = Design();
    if (!design) {
        return true; // the design has closed meanwhile: nothing to apply it to
    }
    ApplyResult result =
        ApplyPageSetup(design->items(), pageset, type, false, form_.params().state.defaults,
                       [design] { design->SetZoom(FindRecord(design->items(), ItemKind::Header)->zoom); });
    if (result.status == ApplyStatus::Refused) {
        prompt_.Ask(PromptIcon::Warning, result.message, PromptButtons::Ok);
        return false;
    }
    return true;
}

} // namespace vlr
