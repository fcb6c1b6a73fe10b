// Printer calibrations: kept per printer in the settings store, refused out of range, and worked
// out from what the user measured on the test page.
#include "settings/printercalibration.h"

#include "settingsfolder.h"

#include <cmath>

namespace vlr {
namespace {

using test::SettingsFolder;

class PrinterCalibrationStore : public SettingsFolder {};

TEST_F(PrinterCalibrationStore, EachPrinterKeepsItsOwnCalibration) {
    const PrinterCalibration office{1.5, -2.0, 99.0, 101.0}, file{0.0, 0.25, 100.5, 100.0};
    // Names of print queues may hold any character.
    const std::string odd = "Label printer [2nd floor] a/b\\c=d;e";
    ASSERT_TRUE(SaveCalibration(*store, "Office Laser", office, ','));
    ASSERT_TRUE(SaveCalibration(*store, kPdfFilePrinter, file, '.'));
    ASSERT_TRUE(SaveCalibration(*store, odd, PrinterCalibration{-0.5, 0.5, 90.0, 110.0}, '.'));
    // Saving again replaces; the others stay.
    const PrinterCalibration corrected{1.25, -2.0, 99.5, 101.0};
    ASSERT_TRUE(SaveCalibration(*store, "Office Laser", corrected, ','));

    IniRegistryStore reopened(folder.path());
    EXPECT_EQ(LoadCalibration(reopened, "Office Laser"), corrected);
    EXPECT_EQ(LoadCalibration(reopened, "PDF file"), file);
    EXPECT_EQ(LoadCalibration(reopened, odd), (PrinterCalibration{-0.5, 0.5, 90.0, 110.0}));
    EXPECT_EQ(LoadCalibration(reopened, "Office laser"), std::nullopt); // names are exact
    EXPECT_EQ(reopened.OpenKey(kCalibrationKey)->ReadInteger("printers").value, 3);
}

TEST_F(PrinterCalibrationStore, DamagedOrOutOfRangeEntriesCalibrateNothing) {
    WriteKeyFile(kCalibrationKey,
                 "[General]\nprinters=5\n"
                 "printer1=Scaled too far\noffsetx1=0\noffsety1=0\nscalex1=120\nscaley1=100\n"
                 "printer2=Not a number\noffsetx2=abc\noffsety2=0\nscalex2=100\nscaley2=100\n"
                 "printer3=Missing a value\noffsetx3=0\noffsety3=0\nscalex3=100\n"
                 "printer4=Shifted too far\noffsetx4=-25\noffsety4=0\nscalex4=100\nscaley4=100\n"
                 "printer5=Good\noffsetx5=\"-1,5\"\noffsety5=2\nscalex5=99.5\nscaley5=100.5\n");
    for (const char* printer : {"Scaled too far", "Not a number", "Missing a value", "Shifted too far"}) {
        EXPECT_EQ(LoadCalibration(*store, printer), std::nullopt) << printer;
    }
    EXPECT_EQ(LoadCalibration(*store, "Good"), (PrinterCalibration{-1.5, 2.0, 99.5, 100.5}));
}

TEST(PrinterCalibration, OffsetsAndScalesOutOfRangeAreRefusedWithTheRange) {
    struct Case {
        PrinterCalibration calibration;
        const char* problem; // the start of the message; empty when valid
    };
    const Case cases[] = {
        {{20.0, -20.0, 90.0, 110.0}, ""},
        {{20.01, 0.0, 100.0, 100.0}, "The offsets must lie between -20 and 20 millimetres."},
        {{0.0, -20.5, 100.0, 100.0}, "The offsets must lie between"},
        {{0.0, 0.0, 89.99, 100.0}, "The scales must lie between 90 and 110 percent."},
        {{0.0, 0.0, 100.0, 110.01}, "The scales must lie between"},
        {{std::nan(""), 0.0, 100.0, 100.0}, "The offsets"},
        {{0.0, 0.0, 100.0, INFINITY}, "The scales"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.problem);
        const std::string problem = CalibrationProblem(c.calibration);
        EXPECT_EQ(problem.empty(), std::string(c.problem).empty());
        EXPECT_EQ(problem.rfind(c.problem, 0), 0u) << problem;
    }
    EXPECT_EQ(ReadCalibrationNumber(" -1,5 "), -1.5);
    EXPECT_EQ(ReadCalibrationNumber("1.5mm"), std::nullopt);
    EXPECT_EQ(ReadCalibrationNumber(""), std::nullopt);
}

// US Letter: the centre at 107.95 x 139.7 mm; the rulers mark 100 mm.
TEST(PrinterCalibration, MeasurementsOnTheTestPageGiveTheCorrection) {
    struct Case {
        const char* name;
        PrinterCalibration printedWith;
        TestPageMeasurements measured;
        PrinterCalibration expected;
    };
    const Case cases[] = {
        // Only shifted: the opposite shift.
        {"shifted", {}, {1.0, -2.0, 100.0, 100.0}, {-1.0, 2.0, 100.0, 100.0}},
        // Spans of 101 and 99 mm: scales 100/101 and 100/99. The printer's own scale moved the
        // centre by 107.95 x 0.01 = 1.0795 mm right and 139.7 x -0.01 = -1.397 mm down; the cross
        // was seen 1 mm right and not moved down, so the printer shifts by -0.0795 mm and +1.397
        // mm, corrected at the printer's scale: 0.0795 / 1.01 and -1.397 / 0.99.
        {"scaled", {}, {1.0, 0.0, 101.0, 99.0}, {0.0787129, -1.4111111, 99.0099010, 101.0101010}},
        // Printed already corrected: what is left is corrected on top, at the printed scale.
        {"again", {0.5, -1.0, 99.0, 101.0}, {0.2, -0.3, 100.0, 100.0}, {0.302, -0.697, 99.0, 101.0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<PrinterCalibration> result =
            CalibrationFromMeasurements(c.printedWith, 215.9, 279.4, 100.0, c.measured);
        ASSERT_TRUE(result);
        EXPECT_NEAR(result->offsetXMm, c.expected.offsetXMm, 1e-6);
        EXPECT_NEAR(result->offsetYMm, c.expected.offsetYMm, 1e-6);
        EXPECT_NEAR(result->scaleXPercent, c.expected.scaleXPercent, 1e-6);
        EXPECT_NEAR(result->scaleYPercent, c.expected.scaleYPercent, 1e-6);
    }
    EXPECT_EQ(CalibrationFromMeasurements({}, 215.9, 279.4, 100.0, {0.0, 0.0, 0.0, 100.0}), std::nullopt);
    EXPECT_EQ(CalibrationFromMeasurements({}, 215.9, 279.4, 100.0, {0.0, 0.0, 100.0, -99.0}), std::nullopt);
}

} // namespace
} // namespace vlr
