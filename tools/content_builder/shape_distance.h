// Signed distances to the shapes the builder draws: negative inside, positive outside, in
// pixels. Painting with coverage = clamp(0.5 - distance) anti-aliases any of them, and an
// outline is the same shape grown or shrunk by a distance.
#pragma once

#include <span>

namespace ContentBuilder {

struct Point {
    float x, y;
};

// Rectangle x0..x1, y0..y1 with corners rounded by radius.
float RoundedRectDistance(float x, float y, float x0, float y0, float x1, float y1, float radius);
float CircleDistance(float x, float y, float cx, float cy, float radius);
// Axis-aligned ellipse (a close approximation away from very flat ellipses).
float EllipseDistance(float x, float y, float cx, float cy, float rx, float ry);
// A stroke of the given width along the segment a-b, with round ends.
float SegmentDistance(float x, float y, Point a, Point b, float width);
// Any simple polygon (corners in order, either winding).
float PolygonDistance(float x, float y, std::span<const Point> corners);

}  // namespace ContentBuilder
