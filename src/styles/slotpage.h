// What the customisation pages share: the left column of the twelve slot names, the fields of
// the chosen slot on the right with help texts under them, and the way a Save that cannot be
// done is refused.
#pragma once

#include "panels/dialogpage.h"
#include "styles/customslots.h"

#include <QString>

#include <functional>
#include <string>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QVBoxLayout;

namespace vlr {

class Prompt;
class RegistryStore;
struct TParams;

// The help texts of the pages. Under a slot's fields the words "zero to remove" stand in bold.
inline constexpr const char* kSaveOrCancelHelp =
    "When done, click on the Save button. Click on the Cancel button to close this window without "
    "applying any changes.";

class TSlotPage : public DialogPage {
    Q_OBJECT
public:
    TSlotPage(TParams& params, RegistryStore& store, Prompt& prompt, QWidget* parent);

    QListWidget* SlotColumn() const { return column_; }
    QLineEdit* NameField() const { return name_; }
    // The slot on display (0 ... 11), -1 before the first is chosen.
    int ChosenSlot() const { return chosen_; }
    // What a click on slot i in the left column does: its values come into the fields.
    void ChooseSlot(int slot);

protected:
    // Lays out the column with the slots' names, the help shown until a slot is chosen and the
    // closing help (none when empty).
    void Build(const QString& openingHelp, const QString& closingHelp);
    // The fields of the chosen slot: row 0 holds "Name", the page's own fields follow in four
    // columns. Hidden, with the help texts added to Editor(), until a slot is chosen.
    QGridLayout* Fields() const { return fields_; }
    QVBoxLayout* Editor() const { return editor_; }
    // Below the fields, shown from the start.
    QVBoxLayout* Footer() const { return footer_; }
    QLabel* HelpLabel(const QString& text);
    QLabel* AddHelp(QVBoxLayout* layout, const QString& text);
    // A units list whose choice (position + 1) goes into the chosen slot's units.
    QComboBox* AddUnitsBox(const QStringList& names, std::function<int32_t&(int slot)> unitsOf);
    // Shows a slot's units in a units list.
    static void ShowUnits(QComboBox* box, int32_t units);

    // The name of a slot of the working copy.
    virtual std::string& NameOf(int slot) = 0;
    // After a name was typed.
    virtual void NameEdited(int /*slot*/) {}
    // Puts the slot's values, but its name, into the fields.
    virtual void ShowSlot(int slot) = 0;

    // Shows the slot that cannot be saved with the reason; false, so the host stays open.
    bool Refuse(const SlotRefusal& refusal);
    // Replaces the settings' slots by a converted copy of the working slots and stores the style
    // lists at once; refused when the conversion refuses.
    template <typename Slots, typename Convert>
    bool SaveSlots(const Slots& working, Slots& target, Convert convert) {
        Slots converted = working;
        if (std::optional<SlotRefusal> refusal = convert(converted)) {
            return Refuse(*refusal);
        }
        target = converted;
        StoreStyleLists();
        return true;
    }
    void StoreStyleLists();

    TParams& params_;
    RegistryStore& store_;
    Prompt& prompt_;

private:
    QListWidget* column_ = nullptr;
    QLabel* openingHelp_ = nullptr;
    QWidget* editorPanel_ = nullptr;
    QVBoxLayout* editor_ = nullptr;
    QGridLayout* fields_ = nullptr;
    QLineEdit* name_ = nullptr;
    QVBoxLayout* footer_ = nullptr;
    int chosen_ = -1;
};

} // namespace vlr
