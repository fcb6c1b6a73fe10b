// The first-time setup: on the first run for a user the program asks for the measuring unit of
// new designs and registers the design file type with the desktop; a registration that failed is
// repeated at every later start until it succeeds.
#pragma once

#include "panels/dialogpage.h"

#include <cstdint>
#include <functional>
#include <optional>

class QCheckBox;

namespace vlr {

class Prompt;
class RegistryStore;
class TDialogHost;
class TForm1;
struct TParams;
struct initWindow_t;

// Values of the CustomSettings key: the setup has been completed (1), and the registration's
// result code (0 registered, above 0 to be repeated at the next start).
inline constexpr const char* kSetupDoneValue = "setupdone";
inline constexpr const char* kAssociationCodeValue = "ddeins";
// The result code of a "units" value that could not be stored.
inline constexpr int kUnitsNotStored = 1;
inline constexpr int kSetupPageCode = 60;

// Registers the design file type; returns the registration result code.
using AssociationRegistrar = std::function<int()>;

// True until the setup has been completed for this user.
bool FirstTimeSetupPending(RegistryStore& store);
// Proceed with a unit (2 millimetres, 3 inches): the unit becomes the unit of new designs, is
// stored with the mark that the setup is done, the file type is registered and the result code
// stored. Returns the result code.
int CompleteSetup(int32_t units, TParams& params, RegistryStore& store,
                  const AssociationRegistrar& registerAssociation);
// Registers the file type again when the stored result code asks for it and stores the new code;
// nothing (and no code) when it does not.
std::optional<int> RepairAssociation(RegistryStore& store, const AssociationRegistrar& registerAssociation);

// The setup page (page 60 of the larger host): the unit is chosen with two check boxes that
// behave as a pair.
class TInstall : public DialogPage {
    Q_OBJECT
public:
    TInstall(const initWindow_t& look, Prompt& prompt, QWidget* parent = nullptr);

    QSize PreferredClientSize() const override { return {520, 220}; }
    // Proceed: with a unit chosen the setup completes; without one the user is told to choose.
    bool RunAction() override;
    // 0 none, 2 millimetres, 3 inches.
    int32_t ChosenUnits() const;
    QCheckBox* Millimeters() const { return millimeters_; }
    QCheckBox* Inches() const { return inches_; }

Q_SIGNALS:
    // Return was pressed: the host runs Proceed as its left button.
    void proceedRequested();
    // Proceed with this unit.
    void unitsChosen(int32_t units);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Prompt& prompt_;
    QCheckBox* millimeters_ = nullptr;
    QCheckBox* inches_ = nullptr;
};

// The setup wired into the program: the page on the larger host, the main window's questions at
// start and when the page closes, and the repair of a failed registration at start.
class FirstTimeSetup {
public:
    FirstTimeSetup(TForm1& form, TDialogHost& formX, Prompt& prompt,
                   AssociationRegistrar registerAssociation);
    ~FirstTimeSetup();
    FirstTimeSetup(const FirstTimeSetup&) = delete;
    FirstTimeSetup& operator=(const FirstTimeSetup&) = delete;

    bool completed() const { return completed_; }
    // The result code of this run's registration (0 when none ran).
    int resultCode() const { return resultCode_; }

private:
    void ShowPage();
    void Complete(int32_t units);
    void Repair();
    void ReportResult(int code);

    TForm1& form_;
    TDialogHost& formX_;
    AssociationRegistrar registerAssociation_;
    bool completed_ = false;
    int resultCode_ = 0;
};

// What the status bar says while the file type is not registered.
inline constexpr const char* kNotRegisteredText =
    "The design file type could not be registered; it will be tried again at the next start.";

} // namespace vlr
