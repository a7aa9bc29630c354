#pragma once
// Where the 640x480 page goes inside the window's drawable area. Portable
// so the rules are tested without a display.

struct PageRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The largest whole-number scale that fits, centred with black bars around,
// as long as it fills at least three quarters of the largest aspect-kept fit;
// otherwise (and for an area smaller than the page) that largest fit, with
// bars on the long side. An empty area gives an empty rectangle.
PageRect fit_page(int outputWidth, int outputHeight, int pageWidth = 640, int pageHeight = 480);
