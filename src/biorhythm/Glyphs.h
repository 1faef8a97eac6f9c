#pragma once

#include <QPixmap>

class QPainter;

// The pictures of the three rhythms: a figure (body, colour 9), a heart
// (emotion, colour 12) and a cube (intellect, box 3 with edges 10). Their
// shapes are given in units of 1/15 pixel from the day point (x, y); a
// smaller `unitsPerPixel` draws them larger.
void DrawGlyph(QPainter& painter, int rhythm, double x, double y, double unitsPerPixel = 15.0);

// A glyph drawn as a 20 x 20 icon.
QPixmap GlyphIcon(int rhythm);
