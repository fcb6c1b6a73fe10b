// The speed page.
#include "styles/speed.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

namespace vlr {

Tspeed::Tspeed(const DisplaySwitches& switches, QWidget* parent) : DialogPage(parent), switches_(switches) {
    auto* layout = new QVBoxLayout(this);
    auto* intro =
        new QLabel("You can turn off some time-consuming functions if you want to re-arrange your design "
                   "without waiting for you PC to re-paint the items on your screen.",
                   this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    struct Switch {
        QCheckBox*& box;
        const char* caption;
        const char* help;
        bool& value;
    };
    const Switch rows[] = {
        {ShowPictures, "Show all pictures",
         "The software shows only the outlines of your clips when this option is unchecked.",
         switches_.pictures},
        {ShowShadows, "Show all shadows",
         "The software does not paint the shadows when this option is unchecked.", switches_.shadows},
        {Show3D, "Show all 3-D effects",
         "The software does not make the 3-D effect on the surface of your graphics when this option is "
         "unchecked.",
         switches_.surfaces},
    };
    for (const Switch& row : rows) {
        row.box = new QCheckBox(row.caption, this);
        row.box->setChecked(row.value);
        bool& value = row.value;
        // A click changes the page's copy only; Apply hands it on.
        connect(row.box, &QCheckBox::toggled, this, [&value](bool on) { value = on; });
        auto* help = new QLabel(row.help, this);
        help->setWordWrap(true);
        help->setIndent(20);
        layout->addWidget(row.box);
        layout->addWidget(help);
    }
    layout->addStretch(1);
}

bool Tspeed::RunAction() {
    if (apply) {
        apply(switches_);
    }
    return true;
}

} // namespace vlr
