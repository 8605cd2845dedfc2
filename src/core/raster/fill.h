// Filled shapes without an outline (a canvas whose pen draws nothing): the
// brush colour alone covers the shape.
//
// Boxes are given by two corners in any order and cover [min x, max x) x
// [min y, max y), like the shapes in shapes.h.
//   Rectangle: the box itself.
//   Ellipse: the pixels whose centres lie inside or on the ellipse inscribed
//     in the box (centre at the box's centre, semi-axes half its sides).
//   Pie: the part of that ellipse swept clockwise on the screen from the ray
//     towards pixel (ax, ay) to the ray towards pixel (bx, by), both rays
//     leaving the ellipse's centre; pixels on either ray belong to the pie.
//     Two rays in the same direction (or a point at the centre) give an empty
//     pie; opposite rays give half the ellipse.
// Membership is decided in exact integer arithmetic, so a shape covers the
// same pixels wherever it is placed (moved by whole pixels). Coordinates are
// clamped to +-2^28; everything is clipped to the surface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/surface/fast_dib.h"

namespace vorq {

struct FillShape {
  enum class Kind : uint8_t { Rectangle, Ellipse, Pie };
  Kind kind = Kind::Rectangle;
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // the box
  int ax = 0, ay = 0, bx = 0, by = 0;  // the pie's rays
  TPixel24 Color{0, 0, 0};
};

// One row's columns [Lo, Hi] (inclusive, not clipped).
struct RowSpan {
  int64_t Lo = 0, Hi = -1;
};

// The runs of row y covered by shape: 0, 1 or 2 (only pies wider than a
// half turn have two). Returns how many were written to out.
int ShapeRowSpans(const FillShape& shape, int64_t y, RowSpan out[2]);

// count pixels from dst set to colour.
void FillPixels(TPixel24* dst, size_t count, TPixel24 colour);

void FillRect(TFastDIB& surface, int x0, int y0, int x1, int y1, TPixel24 colour);
void FillEllipse(TFastDIB& surface, int x0, int y0, int x1, int y1, TPixel24 colour);
void FillPie(TFastDIB& surface, int x0, int y0, int x1, int y1, int ax, int ay, int bx, int by, TPixel24 colour);

// Draws the shapes in order, each over the ones before, but visits them last
// to first per row and writes every pixel once: the result equals drawing
// them one after the other. Pixels that no shape covers get background.
void FillShapes(TFastDIB& surface, std::span<const FillShape> shapes, TPixel24 background);

}  // namespace vorq
