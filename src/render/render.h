#pragma once
// The software renderer, in the order a frame goes through it:
//
//   pipeline.h      Camera, PlacedModel, Scene, renderScene (the maze, then
//                   its objects), renderModel
//   bsp_walk.h      walkBspTree, drawPolygon: front to back, back faces left out
//   clipping.h      the six frustum planes, clipToPlane, intersectEdge,
//                   ClipPolygon, ClipVertexPool, ClipScratch
//   projection.h    projectPoint, makeScreenVertex (ScreenVertex in screen_vertex.h)
//   rasterizers.h   fillPolygon and the three triangle rasterizers
//   edge_stepper.h  EdgeStepper, walkTriangle: a triangle's sides line by line
//   texture_span.h  perspective-correct texturing in 16-pixel blocks
//   span_buffer.h   SpanBuffer: the free pixels of each line for the maze
//   depth_buffer.h  DepthBuffer: 1/z per pixel for the objects, and the
//                   area written since the last clear
//   pixel_rect.h    PixelRect: screen rectangles (triangle bounds, depth areas)
//   back_buffer.h   BackBuffer: the page being drawn; copyPage for the background
//   renderer.h      Renderer: the frame-wide buffers and scratch together

#include "render/back_buffer.h"
#include "render/bsp_walk.h"
#include "render/clipping.h"
#include "render/depth_buffer.h"
#include "render/edge_stepper.h"
#include "render/pixel_rect.h"
#include "render/pipeline.h"
#include "render/projection.h"
#include "render/rasterizers.h"
#include "render/renderer.h"
#include "render/screen_vertex.h"
#include "render/span_buffer.h"
#include "render/texture_span.h"
