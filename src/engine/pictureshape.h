// The display shape a conversion gives its picture. A source may show at another shape
// than its size says (a 720x480 picture flagged 16:9, pixels of 16:15): the result keeps
// the shape the source shows, by writing it into the picture where the target's format
// can hold it, or else by sizing the picture to square pixels. Where the options ask for
// a size of another proportion than the source's, the result shows at that size, in
// square pixels. VCD and DVD frames show at their format's shapes.
#pragma once

#include "core/jobrecords.h"

#include <QString>

namespace pictureshape {

// The shape the source shows (width / height): what the player shows, else its size.
double sourceShape(const jobrecords::SourceInfo &source);

// The size of the picture tool 2 encodes: the last size the picture pieces give it (scale,
// crop, borders), turned by a quarter turn of the rotation piece; the source's when the
// pieces give none.
struct Frame {
    int width = 0;
    int height = 0;
};
Frame frameOf(const jobrecords::SourceInfo &source, const jobrecords::JobSettings &job);

struct Shape {
    double aspect = 0;      // width / height the result's picture is to show; 0: nothing to give
    int squareWidth = 0;    // not 0: the picture is sized to squareWidth x squareHeight first,
    int squareHeight = 0;   // so that its pixels are square
};
// What the job gives its picture, by the kind's rule (engine::ShapeRule). Nothing for a job
// that keeps the source's picture as it is, and for a source without a picture.
Shape shapeFor(const jobrecords::SourceInfo &source, const jobrecords::JobSettings &job);

// Tool 2's filters for the shape, to follow every other picture filter: the sizing to
// square pixels, then the shape the encoder is to write (dsize); "" for no shape.
QString piece(const Shape &shape);

} // namespace pictureshape
