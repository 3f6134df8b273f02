#pragma once

#include <QPainter>
#include <vector>

#include "Platform/UI/Canvas.h"
#include "frontends/qt/PictureStore.h"

namespace lk::qt {

// Paints a drawn view's recorded operations with a QPainter, in the view's coordinates.
void replayCanvas(QPainter& painter, const std::vector<ui::DrawOp>& ops, PictureStore& pictures);

// Shared by the painters: a toolkit colour, rectangle and rounded-rectangle path in Qt's terms.
QColor qtColor(const ui::Color& c);
QRectF qtRect(const ui::Rect& r);
// A picture in `rect` (stretched), rounded and turned upside down as asked; a picture that
// cannot be found is marked in its place.
void drawPicture(QPainter& painter, PictureStore& pictures, const ui::Image& image,
                 const QRectF& rect, double cornerRadius = 0, bool flipped = false);
// The mark of a picture that did not resolve: a magenta crossed box with the name.
void drawMissingPicture(QPainter& painter, const QRectF& rect, const std::string& name);

}  // namespace lk::qt
