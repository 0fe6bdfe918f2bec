// The progress bar of the updater's page: the empty bar picture, the full bar picture over it as wide
// as the progress says, and optionally a marker centred on the end of the fill.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

class QPainter;

namespace updater {

struct ProgressBarPictures {
    QImage empty;
    QImage full;
    QImage marker;  // null: no marker
};

struct ProgressBarGeometry {
    QRect bar;             // at the layout's position, the size of the empty bar picture
    int fillWidth = 0;     // pixels of the full picture shown, from the bar's left edge
    QRect marker;          // empty when there is no marker
};

// Percent outside 0-100 is taken as the nearest end, so a stray value never paints past the bar.
ProgressBarGeometry ComputeProgressBar(const QPoint& topLeft, const ProgressBarPictures& pictures, int percent,
                                       bool withMarker);

void PaintProgressBar(QPainter& painter, const ProgressBarPictures& pictures, const ProgressBarGeometry& geometry);

}  // namespace updater
