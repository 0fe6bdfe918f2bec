// How each kind of widget and decoration looks in each state. Everything is drawn from shapes and
// icon paths in the page's pixel coordinates at the target resolution; a painter scaled by 2 gives
// the same picture at twice the pixel density.
//
// Widget styles:
//   key, tab, effect, value, menuItem - light keys whose captions use the buttons' default colours
//                                       (dark grey at rest, white when hovered or pressed/checked)
//   primary                           - the apply button: a pale accent key
//   dialogPrimary, dialogSecondary    - pop-up buttons whose owners give them white captions
//   icon, iconClose                   - caption-less window buttons (minimise, close)
//   swatch, swatchPlain               - LED colour buttons: a dark lens the tint template lights up
//   slider                            - thin track; the DOWN picture holds the filled track
//   frame                             - a place for a widget that draws itself (colour picker)
//   plain                             - nothing of its own (text buttons on a card, areas)
#pragma once

#include "Description.h"
#include "Scaler.h"

#include <QPainter>

namespace skingen {

enum class WidgetState { Normal, Over, Down, Disable };

WidgetState StateFromName(const QString& name);

void DrawDecor(QPainter& painter, const Theme& theme, const Scaler& scaler, const Decor& decor, const QString& state);
void DrawWidget(QPainter& painter, const Theme& theme, const Scaler& scaler, const Widget& widget, WidgetState state);

// A text in a rectangle, in the style's face, scaled size, weight and colour.
void DrawText(QPainter& painter, const Theme& theme, const Scaler& scaler, const QRect& rect, const QString& text,
              const TextStyle& style, int alignment);

// The width of the thumb of a slider of the given height (thumbs are as high as their slider).
int ThumbWidth(const Scaler& scaler);

}  // namespace skingen
