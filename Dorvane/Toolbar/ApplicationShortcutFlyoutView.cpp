#include "Dorvane/Toolbar/ApplicationShortcutFlyoutView.h"

#include <cmath>

#include <QFontMetricsF>
#include <QPainter>

#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/Symbols.h"

namespace dorvane {

namespace {

// A tile's label: the symbol in a 26-point row over its name, 4 points apart.
constexpr double kSymbolSize = 21;
constexpr double kSymbolRow = 26;
constexpr double kNameSize = 10.5;

void paintItem(QPainter& painter, const QRectF& tile, const ApplicationShortcutFlyoutView::Item& item) {
    const QFont nameFont = DesignTokens::font(kNameSize, FontWeight::medium);
    const QFontMetricsF metrics(nameFont);
    const double stack = kSymbolRow + DesignTokens::spacingXs + metrics.height();
    const double top = tile.top() + (tile.height() - stack) / 2;
    Symbols::paint(painter, QRectF(tile.left(), top, tile.width(), kSymbolRow), item.symbol, kSymbolSize,
                   DesignTokens::Colors::textPrimary.resolved());
    const QRectF nameRow(tile.left(), top + kSymbolRow + DesignTokens::spacingXs, tile.width(), metrics.height());
    painter.setFont(nameFont);
    painter.setPen(DesignTokens::Colors::textSecondary.resolved());
    painter.drawText(nameRow, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine,
                     metrics.elidedText(QString::fromStdString(item.name), Qt::ElideRight, tile.width()));
}

}  // namespace

ApplicationShortcutFlyoutView::ApplicationShortcutFlyoutView(std::vector<Item> items,
                                                             const ToolbarFlyouts::ShortcutGrid& grid,
                                                             std::function<void(int)> pick, QWidget* parent)
    : QScrollArea(parent), scrolls_(grid.scrolls) {
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(false);
    // The glass shows through: nothing here paints a background.
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    auto* document = new QWidget;
    document->resize(static_cast<int>(std::lround(grid.frame.width)), static_cast<int>(std::lround(grid.naturalHeight)));
    auto shared = std::make_shared<std::function<void(int)>>(std::move(pick));
    for (std::size_t i = 0; i < items.size(); ++i) {
        auto* tile = new ToolbarFlyoutTile(
            items[i].name, [item = items[i]](QPainter& painter, const QRectF& rect) { paintItem(painter, rect, item); },
            document);
        const geometry::Rect frame = grid.tileFrame(static_cast<int>(i));
        tile->setGeometry(QRectF(frame.x, frame.y, frame.width, frame.height).toAlignedRect());
        connect(tile, &QAbstractButton::clicked, this, [shared, index = static_cast<int>(i)] {
            if (*shared) (*shared)(index);
        });
        tiles_.push_back(tile);
    }
    setWidget(document);
    // Set by setWidget(): the grid would hide the glass.
    document->setAutoFillBackground(false);
}

}  // namespace dorvane
