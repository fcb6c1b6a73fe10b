// The resolution that relates design pixels to millimetres and inches. The program uses one
// fixed design resolution on every screen; tests and the batch tool may choose another.
#pragma once

#include <cmath>

namespace vlr {

class ScreenResolution {
public:
    static constexpr double kDesignDpi = 96.0;

    ScreenResolution() = default;
    // A resolution of 0, negative or not finite counts as the design resolution.
    ScreenResolution(double dpiX, double dpiY) : dpiX_(Sane(dpiX)), dpiY_(Sane(dpiY)) {}

    double dpiX() const { return dpiX_; } // design pixels per inch, horizontally
    double dpiY() const { return dpiY_; }
    double pxPerMmX() const { return dpiX_ / 25.4; }
    double pxPerMmY() const { return dpiY_ / 25.4; }

private:
    static double Sane(double dpi) { return std::isfinite(dpi) && dpi > 0.0 ? dpi : kDesignDpi; }

    double dpiX_ = kDesignDpi;
    double dpiY_ = kDesignDpi;
};

} // namespace vlr
