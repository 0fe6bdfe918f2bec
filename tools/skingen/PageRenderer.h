// Renders a page's full-page state pictures and its mask from its description.
#pragma once

#include "Description.h"
#include "Looks.h"
#include "Scaler.h"

#include <QImage>

namespace skingen {

// The page in one state: background, underlay, decoration and every widget in that state, at the
// scaler's size times `pixelRatio` (1, or 2 for the "@2x" pictures).
QImage RenderPage(const Description& description, const Page& page, const Scaler& scaler, WidgetState state,
                  int pixelRatio);

// White where the window is cut away (outside its rounded outline), black inside; no blending, so
// the outline is exact.
QImage RenderMask(const Page& page, const Scaler& scaler, int pixelRatio);

// The NORMAL picture with the texts the programs draw at run time (labels and captions of one
// language), for looking at the page as a person sees it. Not shipped.
QImage RenderPreview(const Description& description, const Page& page, const Scaler& scaler,
                     const Strings& strings);

}  // namespace skingen
