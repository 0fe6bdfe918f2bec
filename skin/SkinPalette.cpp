#include "SkinPalette.h"

namespace skin {

QPalette SkinPalette() {
    const QColor background(0x14, 0x16, 0x1B);
    const QColor panel(0x1D, 0x20, 0x27);
    const QColor raised(0x26, 0x2A, 0x33);
    const QColor hairline(0x32, 0x37, 0x43);
    const QColor text(0xE7, 0xE9, 0xEE);
    const QColor disabledText(0x5A, 0x60, 0x6B);
    const QColor accent(0x3F, 0xB6, 0xFF);

    QPalette palette(raised, background);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, panel);
    palette.setColor(QPalette::AlternateBase, raised);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::ToolTipBase, raised);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Highlight, accent);
    palette.setColor(QPalette::HighlightedText, background);
    // Frames: the shadow edge darker than the panels, the light edge a hairline above them.
    palette.setColor(QPalette::Light, hairline);
    palette.setColor(QPalette::Midlight, raised);
    palette.setColor(QPalette::Mid, panel);
    palette.setColor(QPalette::Dark, background);
    palette.setColor(QPalette::Shadow, QColor(0x0B, 0x0C, 0x0F));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, disabledText);
    }
    return palette;
}

}  // namespace skin
