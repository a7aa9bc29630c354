#include "framework/page_fit.h"

#include <algorithm>

PageRect fit_page(int outputWidth, int outputHeight, int pageWidth, int pageHeight) {
    PageRect rect;
    if (outputWidth <= 0 || outputHeight <= 0 || pageWidth <= 0 || pageHeight <= 0) return rect;
    const int scale = std::min(outputWidth / pageWidth, outputHeight / pageHeight);
    // A whole-number scale keeps every page pixel the same size, but only
    // while it fills most of the area: 1366x768 at scale 1 would leave the
    // game a small island, so there the largest aspect-kept fit wins.
    const double widest = std::min(static_cast<double>(outputWidth) / pageWidth,
                                   static_cast<double>(outputHeight) / pageHeight);
    constexpr double kWholeScaleShare = 0.75;
    if (scale >= 1 && scale >= kWholeScaleShare * widest) {
        rect.width = pageWidth * scale;
        rect.height = pageHeight * scale;
    } else if (static_cast<long long>(outputWidth) * pageHeight <=
               static_cast<long long>(outputHeight) * pageWidth) {
        // Narrower than the page's aspect: full width, bars above and below.
        rect.width = outputWidth;
        rect.height = std::max(
            1, static_cast<int>(static_cast<long long>(outputWidth) * pageHeight / pageWidth));
    } else {
        rect.height = outputHeight;
        rect.width = std::max(
            1, static_cast<int>(static_cast<long long>(outputHeight) * pageWidth / pageHeight));
    }
    if (rect.width > pageWidth && rect.width % pageWidth != 0) {
        // The next whole scale up, so the reduction only ever blends
        // neighbouring copies of one page pixel with the next.
        rect.sharpScale = rect.width / pageWidth + 1;
    }
    rect.x = (outputWidth - rect.width) / 2;
    rect.y = (outputHeight - rect.height) / 2;
    return rect;
}
