// The batch tool's render command.
#include "batchrender.h"

#include "model/geometry.h"
#include "model/itemkind.h"
#include "model/numeric.h"
#include "output/composesheet.h"
#include "render/drawdesign.h"
#include "render/rastercanvas.h"

#include <QFileInfo>

#include <iostream>
#include <optional>

namespace vlr::batch {

namespace {

// The zooms the document window offers, 1 % to 10000 %.
constexpr double kLowestZoom = 0.01;
constexpr double kHighestZoom = 100.0;

struct RenderOptions {
    FileOptions files;
    std::optional<double> zoom;
    std::optional<double> dpi;
};

std::optional<RenderOptions> Parse(int argc, char** argv) {
    RenderOptions options;
    const bool parsed = ParseArguments(argc, argv, options.files, [&](int& i) {
        const std::string argument = argv[i];
        if (argument == "--zoom") {
            return TakeNumber(argc, argv, i, kLowestZoom, kHighestZoom, options.zoom);
        }
        if (argument == "--dpi") {
            return TakeNumber(argc, argv, i, kLowestDpi, kHighestDpi, options.dpi);
        }
        return false;
    });
    // A zoom and a printer's resolution are two ways to scale the page: one at a time.
    if (!parsed || (options.zoom && options.dpi)) {
        return std::nullopt;
    }
    return options;
}

// The picture's size and the view transform that puts the page's (0, 0) on its top-left pixel.
struct RenderedPage {
    int64_t width = 0, height = 0;
    ViewTransform view;
};

RenderedPage PageAt(ItemRecord& header, const ItemList& design, const RenderOptions& options) {
    RenderedPage page;
    if (options.dpi) {
        const double dpi = *options.dpi;
        const int32_t units = header.units;
        page.width = nearest(ToInches(header.canvasWidth, units, Axis::Horizontal, design.screen) * dpi);
        page.height = nearest(ToInches(header.canvasHeight, units, Axis::Vertical, design.screen) * dpi);
        page.view = DeviceTransform(dpi, dpi, design.screen);
        return page;
    }
    // The page's extent at the zoom is what the header derives for its own zoom; the header is
    // this run's copy and is not written back.
    header.zoom = options.zoom.value_or(1.0);
    HeaderGeometry(&header);
    page.width = header.spanX;
    page.height = header.spanY;
    page.view = CanvasTransform(header.zoom);
    return page;
}

QString Size(const RenderedPage& page) {
    return QString("%1 x %2 pixels").arg(page.width).arg(page.height);
}

int Render(ItemList& design, const RenderOptions& options) {
    ItemRecord* header = FindRecord(design, ItemKind::Header);
    if (!header) {
        std::cerr << "velloran-batch: " << options.files.design << " has no page to draw\n";
        return kExitNotADesign;
    }
    const RenderedPage page = PageAt(*header, design, options);
    if (page.width < 1 || page.height < 1) {
        return Fail("The page cannot be drawn: it would be " + Size(page) + ", which holds nothing.");
    }
    if (!WithinSheetLimits(page.width, page.height)) {
        return Fail("The page cannot be drawn: it would be " + Size(page) +
                    ", more than the program can hold. Choose a lower zoom or resolution.");
    }
    RasterCanvas raster(int32_t(page.width), int32_t(page.height), Smoothing::Antialiased, design.screen);
    if (raster.isNull()) {
        return Fail("The page cannot be drawn: there is not enough memory for " + Size(page) + ".");
    }
    // Everything the finished document window shows: shadows, surfaces and pictures.
    DrawDesign(raster, design, page.view, DrawOptions{});
    return WritePng(raster.image(), options.files.output, "the page");
}

} // namespace

int RunRenderCommand(int argc, char** argv, const DesignReader& read) {
    std::optional<RenderOptions> options = Parse(argc, argv);
    if (!options) {
        std::cerr << "usage:\n" << kRenderUsage;
        return kExitUsage;
    }
    if (QFileInfo(QString::fromStdString(options->files.output)).suffix().toLower() != "png") {
        std::cerr << "velloran-batch: the page is written as .png\n";
        return kExitUsage;
    }
    return WithGuiApplication(argv[0], [&] {
        ItemList design = EmptyDesign(options->files.screenDpi);
        if (int code = read(options->files.design, design, options->files.force); code != kExitOk) {
            return code;
        }
        return Render(design, *options);
    });
}

} // namespace vlr::batch
