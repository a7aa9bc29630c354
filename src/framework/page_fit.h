#pragma once
// Where the 640x480 page goes inside a window's drawable area or a browser
// page: one rule for the desktop and the browser (whose page asks the
// engine), portable so it is tested without a display.

struct PageRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    // How to keep pixels sharp at this size: a fractional size is drawn by
    // enlarging the page this whole number of times with nearest-pixel
    // sampling, then reducing it smoothly to width x height; 0 where the
    // size is a whole-number scale (or smaller than the page) and the page
    // is drawn straight at it.
    int sharpScale = 0;
};

// The largest whole-number scale that fits, centred with black bars around,
// as long as it fills at least three quarters of the largest aspect-kept fit;
// otherwise (and for an area smaller than the page) that largest fit, with
// bars on the long side. An empty area gives an empty rectangle.
PageRect fit_page(int outputWidth, int outputHeight, int pageWidth = 640, int pageHeight = 480);
