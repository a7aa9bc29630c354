#pragma once
// Visiting a model's BSP tree nearest polygon first, leaving out polygons
// that face away, and sending each visible polygon through camera
// transform, frustum clipping and filling. Subtrees and polygons whose
// boxes (built at load) lie wholly outside the frustum, or in a maze behind
// pixels already laid, are passed over untransformed: they would paint
// nothing, so the picture is the same.

#include <cstdint>

#include "geometry/model.h"
#include "render/renderer.h"

// Walks from nodeIndex; the model's camera transform for this draw must be
// set (renderModel does it).
void walkBspTree(Renderer& r, Model& model, std::int32_t nodeIndex, RenderMode mode);

// Transforms the polygon's points that this draw has not yet seen, clips
// the polygon to the frustum and fills what is left.
void drawPolygon(Renderer& r, Model& model, const Polygon& polygon, RenderMode mode);

// Whether any face of the model is a single-colour face. Those are drawn
// with a depth test and claim no pixels of the span buffer.
bool hasColourFace(const Model& model);
