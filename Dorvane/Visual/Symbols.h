#pragma once

#include <span>
#include <string_view>

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QRectF>
#include <QString>

class QPainter;

namespace dorvane {

// One symbol name the program draws (a shortcut icon, a toolbar action, a row of the
// settings, a mark in a notice or a list) and its glyph in the Material Icons font.
struct SymbolGlyph {
    std::string_view name;
    char16_t codePoint = 0;
    std::string_view materialName;  // the glyph's name in the font, for whoever edits the table
    bool mirrored = false;          // drawn flipped left to right (the font has only the other side)
};

// The one table from symbol names to glyphs, and how to draw them.
class Symbols {
public:
    Symbols() = delete;

    // Every known name, sorted.
    static std::span<const SymbolGlyph> table();
    // None for a name the table does not know.
    static const SymbolGlyph* find(std::string_view name);

    static const QString& fontFamily();  // "Material Icons"
    // A glyph of `size` points (logical pixels) in the symbol font.
    static QFont font(double size);

    // The outline of `name` exactly where paint() draws it in the symbol font (for a halo
    // or a shadow that must lie under the glyph); empty for an unknown name.
    static QPainterPath outline(const QRectF& rect, std::string_view name, double size);
    // Draws `name` centred in `rect`, `size` points tall, in `color`. An unknown name draws
    // nothing; when `family` is not installed a drawn stand-in takes the glyph's place.
    static void paint(QPainter& painter, const QRectF& rect, std::string_view name, double size, const QColor& color,
                      const QString& family = fontFamily());

    // Whether the font family is installed (looked up once per family).
    static bool isInstalled(const QString& family);
};

}  // namespace dorvane
