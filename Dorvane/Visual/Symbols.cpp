#include "Dorvane/Visual/Symbols.h"

#include <algorithm>
#include <array>
#include <map>
#include <mutex>

#include <QFontDatabase>
#include <QPainter>
#include <QTransform>
#include <QFontMetricsF>
#include <QPainterPath>


namespace dorvane {

namespace {

// Sorted by name. Each platform symbol name maps to the Material Icons glyph closest in
// meaning; the code points are those of the font's own name table.
constexpr std::array kGlyphs = std::to_array<SymbolGlyph>({
    {"airplane", 0xe539, "flight"},
    {"airplayvideo", 0xe055, "airplay"},
    {"app", 0xe5c3, "apps"},
    {"arrow.clockwise", 0xe5d5, "refresh"},
    {"arrow.counterclockwise", 0xf053, "restart_alt"},
    {"arrow.down", 0xe5db, "arrow_downward"},
    {"arrow.down.right.and.arrow.up.left", 0xf1cf, "close_fullscreen"},
    {"arrow.down.right.and.arrow.up.left.square", 0xe5d1, "fullscreen_exit"},
    {"arrow.down.to.line", 0xe258, "vertical_align_bottom"},
    {"arrow.left", 0xe5c4, "arrow_back"},
    {"arrow.left.arrow.right", 0xe8d4, "swap_horiz"},
    {"arrow.right", 0xe5c8, "arrow_forward"},
    {"arrow.right.to.line", 0xe31c, "keyboard_tab"},
    {"arrow.triangle.2.circlepath", 0xe627, "sync"},
    {"arrow.triangle.2.circlepath.circle", 0xf232, "published_with_changes"},
    {"arrow.up", 0xe5d8, "arrow_upward"},
    {"arrow.up.and.down.and.arrow.left.and.right", 0xe89f, "open_with"},
    {"arrow.up.left.and.arrow.down.right", 0xf1ce, "open_in_full"},
    {"arrow.up.left.and.arrow.down.right.square", 0xe5d0, "fullscreen"},
    {"arrow.up.left.and.down.right.magnifyingglass", 0xe56b, "zoom_out_map"},
    {"arrow.up.to.line", 0xe25a, "vertical_align_top"},
    {"arrow.uturn.backward", 0xe166, "undo"},
    {"arrow.uturn.backward.circle", 0xe8ba, "settings_backup_restore"},
    {"arrow.uturn.forward", 0xe15a, "redo"},
    {"at", 0xe0e6, "alternate_email"},
    {"backward.fill", 0xe020, "fast_rewind"},
    {"battery.100", 0xe1a4, "battery_full"},
    {"bed.double.fill", 0xefdf, "bed"},
    {"bell.fill", 0xe7f4, "notifications"},
    {"bold", 0xe238, "format_bold"},
    {"bolt", 0xea0b, "bolt"},
    {"bolt.badge.clock", 0xe8b5, "schedule"},
    {"bookmark.fill", 0xe866, "bookmark"},
    {"bubble.left.and.bubble.right.fill", 0xe0bf, "forum"},
    {"calendar", 0xe935, "calendar_today"},
    {"camera", 0xe412, "photo_camera"},
    {"camera.viewfinder", 0xec08, "screenshot_monitor"},
    {"car.fill", 0xe531, "directions_car"},
    {"cart.fill", 0xe8cc, "shopping_cart"},
    {"character.bubble.fill", 0xe8e2, "translate"},
    {"character.cursor.ibeam", 0xe881, "find_replace"},
    {"chart.bar.fill", 0xe26b, "bar_chart"},
    {"checklist", 0xe6b1, "checklist"},
    {"checkmark", 0xe5ca, "check"},
    {"checkmark.circle.fill", 0xe86c, "check_circle"},
    {"chevron.down", 0xe5cf, "expand_more"},
    {"chevron.down.2", 0xead0, "keyboard_double_arrow_down"},
    {"chevron.left.2", 0xeac3, "keyboard_double_arrow_left"},
    {"chevron.left.forwardslash.chevron.right", 0xe86f, "code"},
    {"chevron.right", 0xe5cc, "chevron_right"},
    {"chevron.right.2", 0xeac9, "keyboard_double_arrow_right"},
    {"chevron.up", 0xe5ce, "expand_less"},
    {"chevron.up.2", 0xeacf, "keyboard_double_arrow_up"},
    {"chevron.up.chevron.down", 0xe5d7, "unfold_more"},
    {"circle.grid.3x3.fill", 0xe5c3, "apps"},
    {"circle.lefthalf.filled", 0xeb37, "contrast"},
    {"clock.fill", 0xe8b5, "schedule"},
    {"cloud.fill", 0xe2bd, "cloud"},
    {"command", 0xeae7, "keyboard_command_key"},
    {"cpu", 0xe322, "memory"},
    {"creditcard.fill", 0xe870, "credit_card"},
    {"curlybraces", 0xead3, "data_object"},
    {"cursorarrow", 0xe569, "near_me"},
    {"delete.left", 0xe14a, "backspace"},
    {"display", 0xe30c, "desktop_windows"},
    {"display.2", 0xef5b, "monitor"},
    {"display.trianglebadge.exclamationmark", 0xeb97, "display_settings"},
    {"doc.fill", 0xe873, "description"},
    {"doc.on.clipboard", 0xe14f, "content_paste"},
    {"doc.on.doc", 0xe14d, "content_copy"},
    {"dock.rectangle", 0xe06c, "call_to_action"},
    {"dot.radiowaves.left.and.right", 0xe1a7, "bluetooth"},
    {"drop.fill", 0xe798, "water_drop"},
    {"ellipsis", 0xe5d3, "more_horiz"},
    {"envelope.fill", 0xe0be, "email"},
    {"escape", 0xe9ba, "logout"},
    {"exclamationmark.circle.fill", 0xe000, "error"},
    {"exclamationmark.triangle.fill", 0xe002, "warning"},
    {"eye.fill", 0xe8f4, "visibility"},
    {"eye.slash.fill", 0xe8f5, "visibility_off"},
    {"figure.walk", 0xe536, "directions_walk"},
    {"flag.fill", 0xe153, "flag"},
    {"flame.fill", 0xef55, "local_fire_department"},
    {"flashlight.on.fill", 0xf00b, "flashlight_on"},
    {"folder.fill", 0xe2c7, "folder"},
    {"forward.fill", 0xe01f, "fast_forward"},
    {"gamecontroller.fill", 0xea28, "sports_esports"},
    {"gearshape", 0xe8b8, "settings"},
    {"gift.fill", 0xe8f6, "card_giftcard"},
    {"globe", 0xe80b, "public"},
    {"hammer.fill", 0xea3c, "construction"},
    {"hand.draw", 0xe155, "gesture"},
    {"hand.point.up.left", 0xe913, "touch_app"},
    {"hand.raised.fill", 0xe925, "pan_tool"},
    {"hand.tap.fill", 0xe762, "ads_click"},
    {"hand.thumbsup.fill", 0xe8dc, "thumb_up"},
    {"headphones", 0xf01f, "headphones"},
    {"heart.fill", 0xe87d, "favorite"},
    {"house.fill", 0xe88a, "home"},
    {"info.circle", 0xe88f, "info_outline"},
    {"info.circle.fill", 0xe88e, "info"},
    {"ipad.and.iphone", 0xe337, "devices_other"},
    {"iphone", 0xe32c, "smartphone"},
    {"italic", 0xe23f, "format_italic"},
    {"key.fill", 0xe73c, "key"},
    {"keyboard", 0xe312, "keyboard"},
    {"leaf.fill", 0xea35, "eco"},
    {"lightbulb.fill", 0xe0f0, "lightbulb"},
    {"line.3.horizontal", 0xe25d, "drag_handle"},
    {"link", 0xe157, "link"},
    {"list.bullet", 0xe241, "format_list_bulleted"},
    {"list.bullet.clipboard", 0xe85d, "assignment"},
    {"location.fill", 0xe0c8, "location_on"},
    {"lock.desktopcomputer", 0xe1be, "screen_lock_landscape"},
    {"lock.fill", 0xe897, "lock"},
    {"lock.open.fill", 0xe898, "lock_open"},
    {"lock.shield.fill", 0xef3d, "admin_panel_settings"},
    {"macbook.and.iphone", 0xe1b1, "devices"},
    {"macwindow", 0xe069, "web_asset"},
    {"macwindow.badge.plus", 0xe05c, "add_to_queue"},
    {"macwindow.on.rectangle", 0xe8f1, "view_quilt"},
    {"magnet", 0xea52, "attractions"},
    {"magnifyingglass", 0xe8b6, "search"},
    {"map.fill", 0xe55b, "map"},
    {"message.fill", 0xe0ca, "chat_bubble"},
    {"mic", 0xe029, "mic"},
    {"mic.slash.fill", 0xe02b, "mic_off"},
    {"minus", 0xe15b, "remove"},
    {"minus.circle.fill", 0xe15c, "remove_circle"},
    {"minus.magnifyingglass", 0xe900, "zoom_out"},
    {"minus.rectangle", 0xe15b, "remove"},  // a dash on the centre line, as the other symbols sit
    {"moon.fill", 0xe51c, "dark_mode"},
    {"music.note", 0xe405, "music_note"},
    {"note.text", 0xf1fc, "sticky_note_2"},
    {"number", 0xe9ef, "tag"},
    {"option", 0xeae8, "keyboard_option_key"},
    {"paintbrush.fill", 0xe3ae, "brush"},
    {"paperclip", 0xe226, "attach_file"},
    {"pause.fill", 0xe034, "pause"},
    {"pencil", 0xe3c9, "edit"},
    {"person.2.fill", 0xe7ef, "group"},
    {"person.fill", 0xe7fd, "person"},
    {"phone.fill", 0xe0b0, "call"},
    {"photo.fill", 0xe410, "photo"},
    {"pin.fill", 0xf10d, "push_pin"},
    {"play.fill", 0xe037, "play_arrow"},
    {"plus", 0xe145, "add"},
    {"plus.forwardslash.minus", 0xea5f, "calculate"},
    {"plus.magnifyingglass", 0xe8ff, "zoom_in"},
    {"plus.square.fill", 0xe146, "add_box"},
    {"power", 0xe8ac, "power_settings_new"},
    {"printer.fill", 0xe8ad, "print"},
    {"questionmark.circle.fill", 0xe887, "help"},
    {"record.circle.fill", 0xe837, "radio_button_checked"},
    {"rectangle.bottomhalf.inset.filled", 0xe229, "border_bottom"},
    {"rectangle.center.inset.filled", 0xe3dc, "filter_center_focus"},
    {"rectangle.inset.filled", 0xe3c1, "crop_din"},
    {"rectangle.lefthalf.inset.filled", 0xe22e, "border_left"},
    {"rectangle.on.rectangle", 0xe3e0, "filter_none"},
    {"rectangle.righthalf.inset.filled", 0xe230, "border_right"},
    {"rectangle.split.1x2.fill", 0xe947, "horizontal_split"},
    {"rectangle.split.2x1.fill", 0xe949, "vertical_split"},
    {"rectangle.split.2x2", 0xe9b0, "grid_view"},
    {"rectangle.split.2x2.fill", 0xf088, "window"},
    {"rectangle.split.3x1.fill", 0xe8ec, "view_column"},
    {"rectangle.stack.fill", 0xe53b, "layers"},
    {"rectangle.tophalf.inset.filled", 0xe232, "border_top"},
    {"return", 0xe31b, "keyboard_return"},
    {"rotate.right.fill", 0xe41a, "rotate_right"},
    {"safari.fill", 0xe87a, "explore"},
    {"scissors", 0xe14e, "content_cut"},
    {"sidebar.left", 0xf114, "view_sidebar", true},
    {"sidebar.right", 0xf114, "view_sidebar"},
    {"slider.horizontal.3", 0xe429, "tune"},
    {"sparkles", 0xe65f, "auto_awesome"},
    {"speaker.slash.fill", 0xe04f, "volume_off"},
    {"speaker.wave.1.fill", 0xe04d, "volume_down"},
    {"speaker.wave.2.fill", 0xe04e, "volume_mute"},
    {"speaker.wave.3.fill", 0xe050, "volume_up"},
    {"square.and.arrow.down", 0xf090, "download"},
    {"square.and.arrow.down.fill", 0xe161, "save"},
    {"square.and.arrow.up", 0xe6b8, "ios_share"},
    {"square.and.pencil", 0xe745, "edit_note"},
    {"square.dashed", 0xe3c2, "crop_free"},
    {"square.grid.2x2", 0xe9b0, "grid_view"},
    {"square.on.square", 0xe8d8, "tab"},
    {"star", 0xe83a, "star_border"},
    {"stop.fill", 0xe047, "stop"},
    {"sun.max.fill", 0xe518, "light_mode"},
    {"sun.min.fill", 0xe1ad, "brightness_low"},
    {"tag.fill", 0xf05b, "sell"},
    {"terminal.fill", 0xeb8e, "terminal"},
    {"text.magnifyingglass", 0xf02f, "manage_search"},
    {"textformat", 0xe262, "text_fields"},
    {"timer", 0xe425, "timer"},
    {"trash", 0xe92e, "delete_outline"},
    {"trash.fill", 0xe872, "delete"},
    {"underline", 0xe249, "format_underlined"},
    {"video.fill", 0xe04b, "videocam"},
    {"video.slash.fill", 0xe04c, "videocam_off"},
    {"viewfinder", 0xe3b4, "center_focus_strong"},
    {"wand.and.stars", 0xe663, "auto_fix_high"},
    {"wifi", 0xe63e, "wifi"},
    {"xmark", 0xe5cd, "close"},
    {"xmark.circle.fill", 0xe5c9, "cancel"},
    {"xmark.rectangle", 0xe0e9, "cancel_presentation"},
    {"xmark.square.fill", 0xf230, "disabled_by_default"},
});

constexpr bool sortedByName() {
    for (std::size_t index = 1; index < kGlyphs.size(); ++index) {
        if (!(kGlyphs[index - 1].name < kGlyphs[index].name)) return false;
    }
    return true;
}
static_assert(sortedByName(), "the symbol table is searched by halving");

// The stand-ins drawn when the symbol font is missing: the few marks whose meaning a
// generic shape would lose, and a rounded square for the rest.
void paintStandIn(QPainter& painter, const QRectF& rect, std::string_view name, double size, const QColor& color) {
    const double side = std::min({size, rect.width(), rect.height()});
    const QRectF box(rect.center().x() - side / 2, rect.center().y() - side / 2, side, side);
    QPen pen(color, std::max(1.0, side / 10));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    auto at = [&box](double x, double y) { return QPointF(box.left() + x * box.width(), box.top() + y * box.height()); };
    if (name == "checkmark") {
        painter.drawPolyline(std::array{at(0.2, 0.55), at(0.42, 0.75), at(0.82, 0.28)}.data(), 3);
    } else if (name == "chevron.up.chevron.down") {
        painter.drawPolyline(std::array{at(0.3, 0.4), at(0.5, 0.22), at(0.7, 0.4)}.data(), 3);
        painter.drawPolyline(std::array{at(0.3, 0.6), at(0.5, 0.78), at(0.7, 0.6)}.data(), 3);
    } else if (name == "xmark") {
        painter.drawLine(at(0.25, 0.25), at(0.75, 0.75));
        painter.drawLine(at(0.75, 0.25), at(0.25, 0.75));
    } else if (name.starts_with("info.circle")) {
        painter.drawEllipse(box.adjusted(side * 0.08, side * 0.08, -side * 0.08, -side * 0.08));
        painter.drawLine(at(0.5, 0.45), at(0.5, 0.72));
        painter.drawPoint(at(0.5, 0.3));
    } else {
        painter.drawRoundedRect(box.adjusted(side * 0.15, side * 0.15, -side * 0.15, -side * 0.15), side * 0.15,
                                side * 0.15);
    }
    painter.restore();
}

}  // namespace

std::span<const SymbolGlyph> Symbols::table() { return kGlyphs; }

const SymbolGlyph* Symbols::find(std::string_view name) {
    const auto found = std::lower_bound(kGlyphs.begin(), kGlyphs.end(), name,
                                        [](const SymbolGlyph& glyph, std::string_view key) { return glyph.name < key; });
    return found != kGlyphs.end() && found->name == name ? &*found : nullptr;
}

const QString& Symbols::fontFamily() {
    static const QString family = QStringLiteral("Material Icons");
    return family;
}

QFont Symbols::font(double size) {
    QFont font(fontFamily());
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(size))));
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

bool Symbols::isInstalled(const QString& family) {
    static std::mutex mutex;
    static std::map<QString, bool> known;
    std::lock_guard lock(mutex);
    const auto found = known.find(family);
    if (found != known.end()) return found->second;
    const bool installed = QFontDatabase::families().contains(family);
    known.emplace(family, installed);
    return installed;
}

QPainterPath Symbols::outline(const QRectF& rect, std::string_view name, double size) {
    QPainterPath path;
    const SymbolGlyph* glyph = find(name);
    if (glyph == nullptr) return path;
    const QFont font = Symbols::font(size);
    const QString text(QChar(glyph->codePoint));
    // Where drawText() with centred alignment puts the glyph: its advance centred across,
    // its line (ascent over descent) centred down.
    const QFontMetricsF metrics(font);
    const QPointF baseline(rect.center().x() - metrics.horizontalAdvance(text) / 2,
                           rect.center().y() - (metrics.ascent() + metrics.descent()) / 2 + metrics.ascent());
    path.addText(baseline, font, text);
    if (glyph->mirrored) {
        QTransform mirror;
        mirror.translate(rect.center().x() * 2, 0);
        mirror.scale(-1, 1);
        path = mirror.map(path);
    }
    return path;
}

void Symbols::paint(QPainter& painter, const QRectF& rect, std::string_view name, double size, const QColor& color,
                    const QString& family) {
    const SymbolGlyph* glyph = find(name);
    if (glyph == nullptr) return;
    if (!isInstalled(family)) return paintStandIn(painter, rect, name, size, color);
    QFont font = Symbols::font(size);
    font.setFamily(family);
    painter.save();
    painter.setFont(font);
    painter.setPen(color);
    if (glyph->mirrored) {
        painter.translate(rect.center().x() * 2, 0);
        painter.scale(-1, 1);
    }
    painter.drawText(rect, Qt::AlignCenter, QString(QChar(glyph->codePoint)));
    painter.restore();
}

}  // namespace dorvane
