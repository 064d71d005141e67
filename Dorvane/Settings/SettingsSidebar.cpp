#include "Dorvane/Settings/SettingsSidebar.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include "Dorvane/Visual/AccessibleControl.h"
#include "Dorvane/Visual/ControlFocus.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/ProgramIcon.h"
#include "Dorvane/Visual/SettingsMetrics.h"
#include "Dorvane/Visual/Symbols.h"
#include "Dorvane/Visual/TokenLabel.h"

namespace dorvane {

namespace {

using Metrics = SettingsMetrics;

void fillRounded(QPainter& painter, const QRectF& rect, const QColor& color) {
    QPainterPath shape;
    shape.addRoundedRect(rect, DesignTokens::radiusMd, DesignTokens::radiusMd);
    painter.fillPath(shape, color);
}

// The program's drawn icon.
class SidebarAppIcon final : public QWidget {
public:
    explicit SidebarAppIcon(QWidget* parent) : QWidget(parent) {
        setFixedSize(Metrics::appIconSize, Metrics::appIconSize);
        setAccessibleName(QStringLiteral("Corvelle"));
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        paintProgramIcon(painter, QRectF(rect()));
    }
};

// One page's row: its symbol and title, on the pale accent while its page is shown.
class SidebarRow final : public QAbstractButton, public AccessibleControl {
public:
    SidebarRow(const SettingsSidebarRow& row, QWidget* parent) : QAbstractButton(parent), symbol_(row.symbol) {
        setText(QString::fromUtf8(row.title.data(), static_cast<qsizetype>(row.title.size())));
        // An accessible control is named by what it is told, not by its text.
        setAccessibleName(text());
        setFocusPolicy(controlFocusPolicy);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        DesignTokens::repaintOnAppearanceChange(this);
    }

    void setSelected(bool selected) {
        if (selected == selected_) return;
        selected_ = selected;
        announceSelected(this);
        update();
    }
    bool isSelected() const { return selected_; }
    std::optional<bool> accessibleSelected() const override { return selected_; }
    bool pressAccessibly() override { return clickAccessibly(*this); }

    QSize sizeHint() const override {
        const double line = std::max<double>(QFontMetricsF(titleFont()).height(), Metrics::sidebarSymbolWidth);
        return QSize(Metrics::sidebarWidth - 2 * Metrics::sidebarSidePadding,
                     static_cast<int>(std::ceil(line)) + 2 * Metrics::sidebarRowVerticalPadding);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        if (selected_) fillRounded(painter, QRectF(rect()), DesignTokens::Colors::selectionFill.resolved());
        const QRectF symbol(Metrics::sidebarRowHorizontalPadding, 0, Metrics::sidebarSymbolWidth, height());
        Symbols::paint(painter, symbol, symbol_, Metrics::sidebarSymbolSize,
                       (selected_ ? DesignTokens::Colors::accent : DesignTokens::Colors::textSecondary).resolved());
        const double left = symbol.right() + Metrics::sidebarRowSpacing;
        painter.setFont(titleFont());
        painter.setPen((selected_ ? DesignTokens::Colors::textPrimary : DesignTokens::Colors::textSecondary).resolved());
        painter.drawText(QRectF(left, 0, width() - left - Metrics::sidebarRowHorizontalPadding, height()),
                         Qt::AlignLeft | Qt::AlignVCenter, text());
    }

private:
    QFont titleFont() const {
        return DesignTokens::font(DesignTokens::fontBody, selected_ ? FontWeight::semibold : FontWeight::regular);
    }

    std::string_view symbol_;
    bool selected_ = false;
};

// "需要授权" over "辅助功能未开启" beside the orange mark, on a pale orange.
class SidebarWarning final : public QAbstractButton {
public:
    explicit SidebarWarning(QWidget* parent) : QAbstractButton(parent) {
        setText(QStringLiteral("需要授权"));
        setToolTip(QStringLiteral("打开系统设置开启辅助功能权限"));
        setAccessibleName(QStringLiteral("需要授权：辅助功能未开启，点按前往授权"));
        setFocusPolicy(controlFocusPolicy);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        DesignTokens::repaintOnAppearanceChange(this);
    }

    QSize sizeHint() const override {
        const double lines = QFontMetricsF(titleFont()).height() + 1 + QFontMetricsF(detailFont()).height();
        return QSize(Metrics::sidebarWidth - 2 * Metrics::sidebarSidePadding,
                     static_cast<int>(std::ceil(lines)) + 2 * Metrics::warningVerticalPadding);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        fillRounded(painter, QRectF(rect()), DesignTokens::Colors::warningFill.resolved());
        const QRectF mark(Metrics::sidebarRowHorizontalPadding, 0, Metrics::sidebarSymbolWidth, height());
        Symbols::paint(painter, mark, "exclamationmark.triangle.fill", DesignTokens::fontBody,
                       DesignTokens::Colors::warning.resolved());
        const QFontMetricsF title(titleFont());
        const QFontMetricsF detail(detailFont());
        const double left = mark.right() + Metrics::warningSpacing;
        const double top = (height() - (title.height() + 1 + detail.height())) / 2;
        const double right = width() - Metrics::sidebarRowHorizontalPadding - DesignTokens::fontCaption;
        painter.setFont(titleFont());
        painter.setPen(DesignTokens::Colors::textPrimary.resolved());
        painter.drawText(QRectF(left, top, right - left, title.height()), Qt::AlignLeft | Qt::AlignVCenter, text());
        painter.setFont(detailFont());
        painter.setPen(DesignTokens::Colors::textSecondary.resolved());
        painter.drawText(QRectF(left, top + title.height() + 1, right - left, detail.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("辅助功能未开启"));
        Symbols::paint(painter, QRectF(right, 0, DesignTokens::fontCaption, height()), "chevron.right",
                       DesignTokens::fontCaption, DesignTokens::Colors::textTertiary.resolved());
    }

private:
    static QFont titleFont() { return DesignTokens::font(DesignTokens::fontBody, FontWeight::semibold); }
    static QFont detailFont() { return DesignTokens::font(DesignTokens::fontCaption); }
};

// `widget` with empty room under it, hidden and shown together.
QWidget* withBottomPadding(QWidget* widget, int padding, QWidget* parent) {
    auto* area = new QWidget(parent);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, padding);
    layout->addWidget(widget);
    return area;
}

}  // namespace

SettingsSidebar::SettingsSidebar(const QString& versionLine, std::function<void(SettingsPage)> onPage,
                                 std::function<void()> onWarning, QWidget* parent)
    : QWidget(parent) {
    setFixedWidth(Metrics::sidebarWidth);
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(Metrics::sidebarSidePadding, Metrics::sidebarTopPadding, Metrics::sidebarSidePadding, 0);
    stack->setSpacing(Metrics::sidebarSpacing);

    auto* header = new QWidget(this);
    auto* headerLayout = new QVBoxLayout(header);
    headerLayout->setContentsMargins(Metrics::headerSidePadding, 0, Metrics::headerSidePadding,
                                     Metrics::headerBottomPadding);
    headerLayout->addWidget(new SidebarAppIcon(header), 0, Qt::AlignHCenter);
    stack->addWidget(header);

    for (const SettingsSidebarRow& entry : settingsSidebarRows) {
        auto* row = new SidebarRow(entry, this);
        connect(row, &QAbstractButton::clicked, this, [onPage, page = entry.page] {
            if (onPage) onPage(page);
        });
        rows_[entry.page] = row;
        stack->addWidget(row);
    }
    stack->addStretch(1);

    warning_ = new SidebarWarning(this);
    connect(warning_, &QAbstractButton::clicked, this, [onWarning = std::move(onWarning)] {
        if (onWarning) onWarning();
    });
    warningArea_ = withBottomPadding(warning_, Metrics::warningBottomPadding, this);
    stack->addWidget(warningArea_);

    version_ = new TokenLabel(versionLine, DesignTokens::font(DesignTokens::fontCaption),
                              DesignTokens::Colors::textSecondary, this);
    version_->setAlignment(Qt::AlignHCenter);
    stack->addWidget(withBottomPadding(version_, Metrics::versionBottomPadding, this));
    DesignTokens::repaintOnAppearanceChange(this);
}

void SettingsSidebar::render(SettingsPage page, bool accessibilityGranted) {
    for (const auto& [rowPage, row] : rows_) static_cast<SidebarRow*>(row)->setSelected(rowPage == page);
    warningArea_->setVisible(!accessibilityGranted);
}

QAbstractButton* SettingsSidebar::row(SettingsPage page) const {
    const auto found = rows_.find(page);
    return found == rows_.end() ? nullptr : found->second;
}

// Over the window's page background.
void SettingsSidebar::paintEvent(QPaintEvent* /*event*/) {
    static const AdaptiveColor background =
        DesignTokens::Colors::pageBackground.withOpacity(0.5, "Corvelle.sidebarBackground");
    QPainter(this).fillRect(rect(), background.resolved());
}

}  // namespace dorvane
