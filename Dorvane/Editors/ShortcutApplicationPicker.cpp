#include "Dorvane/Editors/ShortcutApplicationPicker.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollArea>
#include <QShowEvent>
#include <QVariantAnimation>
#include <QVBoxLayout>

#include "Dorvane/Editors/EditorMetrics.h"
#include "Dorvane/Editors/EditorParts.h"
#include "Dorvane/Editors/InstalledShortcutApplications.h"
#include "Dorvane/Visual/ControlFocus.h"
#include "Dorvane/Visual/TextField.h"
#include "Dorvane/Visual/ApplicationIcon.h"
#include "Dorvane/Visual/StyledButton.h"
#include "Dorvane/Visual/Symbols.h"
#include "Dorvane/Visual/TokenLabel.h"
#include "Dorvane/Visual/OverlayScrollBar.h"
#include "Dorvane/Visual/WindowHiding.h"
#include "DorvaneCore/Editors/ShortcutApplicationList.h"

namespace dorvane {

namespace {
constexpr int kTurnMilliseconds = 900;
constexpr double kArcSpan = 270;
}  // namespace

BusySpinner::BusySpinner(std::function<bool()> reduceMotion, QWidget* parent)
    : QWidget(parent), reduceMotion_(std::move(reduceMotion)) {
    setFixedSize(EditorMetrics::spinnerSize, EditorMetrics::spinnerSize);
    setAccessibleName(QStringLiteral("正在加载"));
    DesignTokens::repaintOnAppearanceChange(this);
}

void BusySpinner::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (turn_ || (reduceMotion_ && reduceMotion_())) return;
    auto* turn = new QVariantAnimation(this);
    turn->setStartValue(0.0);
    turn->setEndValue(360.0);
    turn->setDuration(kTurnMilliseconds);
    turn->setLoopCount(-1);
    connect(turn, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        angle_ = value.toDouble();
        update();
    });
    turn_ = turn;
    turn->start(QAbstractAnimation::DeleteWhenStopped);
}

void BusySpinner::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (turn_) turn_->stop();
}

void BusySpinner::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double stroke = DesignTokens::glyphStroke * 2;
    const QRectF ring = QRectF(rect()).adjusted(stroke, stroke, -stroke, -stroke);
    painter.setPen(QPen(DesignTokens::Colors::textTertiary.resolved(), stroke, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(ring, static_cast<int>(-angle_ * 16), static_cast<int>(kArcSpan * 16));
}

ApplicationPickerRow::ApplicationPickerRow(ApplicationShortcuts application, QString iconPath, QWidget* parent)
    : QAbstractButton(parent), application_(std::move(application)), iconPath_(std::move(iconPath)) {
    setText(QString::fromStdString(application_.name));
    setAccessibleName(text());
    setFocusPolicy(controlFocusPolicy);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    DesignTokens::repaintOnAppearanceChange(this);
}

QSize ApplicationPickerRow::sizeHint() const {
    const int side = EditorMetrics::applicationIconSize + 2 * EditorMetrics::applicationRowPadding;
    return QSize(side, side);
}

void ApplicationPickerRow::paintEvent(QPaintEvent* /*event*/) {
    // Only rows that come into view read their icon.
    if (icon_.isNull()) {
        // The lettered square until the file's picture is read, off the main thread.
        icon_ = applicationIconStandIn(text(), EditorMetrics::applicationIconSize, devicePixelRatioF());
        loadApplicationIcon(iconPath_, text(), EditorMetrics::applicationIconSize, devicePixelRatioF(), this,
                            [this](const QPixmap& picture) {
                                icon_ = picture;
                                update();
                            });
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isDown() ? DesignTokens::pressedSegmentOpacity : 1.0);
    const int padding = EditorMetrics::applicationRowPadding;
    const int side = EditorMetrics::applicationIconSize;
    painter.drawPixmap(QRect(padding, (height() - side) / 2, side, side), icon_);
    const double plus = DesignTokens::fontBody;
    const QRectF plusRect(width() - padding - plus, 0, plus, height());
    Symbols::paint(painter, plusRect, "plus", plus, DesignTokens::Colors::textSecondary.resolved());
    const QFont font = DesignTokens::font(DesignTokens::fontBody);
    painter.setFont(font);
    painter.setPen(DesignTokens::Colors::textPrimary.resolved());
    const double left = padding + side + EditorMetrics::applicationRowSpacing;
    const QRectF nameRect(left, 0, plusRect.left() - EditorMetrics::applicationRowSpacing - left, height());
    painter.drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetricsF(font).elidedText(text(), Qt::ElideRight, nameRect.width()));
}

ShortcutApplicationPicker::ShortcutApplicationPicker(std::set<std::string> existing,
                                                     std::function<bool(const ApplicationShortcuts&)> onSelect,
                                                     std::function<void()> onCancel, const EditorServices& services,
                                                     std::function<bool()> reduceMotion, QWidget* parent)
    : QWidget(parent),
      existing_(std::move(existing)),
      onSelect_(std::move(onSelect)),
      onCancel_(std::move(onCancel)),
      services_(services) {
    setAccessibleName(QStringLiteral("添加应用"));
    setFixedSize(EditorMetrics::pickerSheetWidth, EditorMetrics::pickerSheetHeight);
    auto* column = new QVBoxLayout(this);
    const int padding = EditorMetrics::pickerSheetPadding;
    column->setContentsMargins(padding, padding, padding, padding);
    column->setSpacing(EditorMetrics::pickerSheetSpacing);

    auto* header = new QHBoxLayout;
    header->addWidget(new TokenLabel(QStringLiteral("添加应用"), DesignTokens::font(DesignTokens::fontEmphasis, FontWeight::semibold),
                                     DesignTokens::Colors::textPrimary, this));
    header->addStretch(1);
    cancel_ = new StyledButton(ButtonStyle::secondary, QStringLiteral("取消"), this);
    header->addWidget(cancel_);
    column->addLayout(header);

    search_ = new TextField(TextField::Style::search, QStringLiteral("搜索应用"), QStringLiteral("搜索应用"), this);
    column->addWidget(search_);

    spinner_ = new BusySpinner(std::move(reduceMotion), this);
    column->addWidget(spinner_, 1, Qt::AlignCenter);
    empty_ = new TokenLabel(QStringLiteral("未找到应用"), DesignTokens::font(DesignTokens::fontBody),
                            DesignTokens::Colors::textSecondary, this);
    empty_->setAlignment(Qt::AlignCenter);
    column->addWidget(empty_, 1);
    list_ = new QScrollArea(this);
    list_->setFrameShape(QFrame::NoFrame);
    list_->setWidgetResizable(true);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setFocusPolicy(scrollAreaFocusPolicy);
    OverlayScrollBar::install(list_);
    auto* rows = new QWidget;
    rowsLayout_ = new QVBoxLayout(rows);
    rowsLayout_->setContentsMargins(0, 0, 0, 0);
    rowsLayout_->setSpacing(EditorMetrics::applicationListSpacing);
    rowsLayout_->addStretch(1);
    list_->setWidget(rows);
    list_->setAutoFillBackground(false);
    list_->viewport()->setAutoFillBackground(false);
    rows->setAutoFillBackground(false);
    column->addWidget(list_, 1);
    failure_ = new TokenLabel(QStringLiteral("保存失败，请重试"), DesignTokens::font(DesignTokens::fontCaption),
                              DesignTokens::Colors::red, this);
    column->addWidget(failure_);

    connect(search_, &QLineEdit::textChanged, this, [this] { render(); });
    connect(cancel_, &QAbstractButton::clicked, this, [this] {
        if (const auto cancel = onCancel_) cancel();
    });
    render();
}

ShortcutApplicationPicker::~ShortcutApplicationPicker() = default;

QAbstractButton* ShortcutApplicationPicker::cancelButton() const { return cancel_; }
QLabel* ShortcutApplicationPicker::emptyLabel() const { return empty_; }
QLabel* ShortcutApplicationPicker::failureLabel() const { return failure_; }

std::vector<ApplicationPickerRow*> ShortcutApplicationPicker::shownRows() const {
    std::vector<ApplicationPickerRow*> shown;
    for (int i = 0; i < rowsLayout_->count(); ++i) {
        auto* row = dynamic_cast<ApplicationPickerRow*>(rowsLayout_->itemAt(i)->widget());
        if (row != nullptr && !row->isHidden()) shown.push_back(row);
    }
    return shown;
}

void ShortcutApplicationPicker::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous() && !hiddenWithWindow_) load();
}

void ShortcutApplicationPicker::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    hiddenWithWindow_ = hidesWithItsWindow(*this, *event);
}

void ShortcutApplicationPicker::load() {
    const std::uint64_t generation = ++scanGeneration_;
    loading_ = true;
    render();
    if (services_.installedApplications == nullptr || services_.mainQueue == nullptr || services_.scanQueue == nullptr) {
        finishLoading(generation, {});
        return;
    }
    std::vector<std::string> running;
    if (services_.runningApplications != nullptr) {
        running = InstalledShortcutApplications::runningBundlePaths(*services_.runningApplications);
    }
    // What could not be read lists nothing; the sheet still leaves its loading state.
    dispatch::spawn(*services_.mainQueue,
                    scan(QPointer<ShortcutApplicationPicker>(this), generation, services_.installedApplications,
                         services_.scanQueue, std::move(running)),
                    [picker = QPointer<ShortcutApplicationPicker>(this), generation](std::exception_ptr) {
                        if (picker) picker->finishLoading(generation, {});
                    });
}

dispatch::Task<void> ShortcutApplicationPicker::scan(QPointer<ShortcutApplicationPicker> picker,
                                                     std::uint64_t generation,
                                                     workspace::InstalledApplications* installed,
                                                     dispatch::Executor* queue, std::vector<std::string> running) {
    auto work = [installed, running = std::move(running)] { return InstalledShortcutApplications::load(*installed, running); };
    std::vector<ApplicationShortcuts> found;
    try {
        found = co_await dispatch::runOn(*queue, std::move(work));
    } catch (const std::exception&) {
        // What could not be read lists nothing; the sheet still leaves its loading state.
    }
    // The sheet may have closed, or scanned again, meanwhile.
    if (!picker) co_return;
    picker->finishLoading(generation, std::move(found));
}

void ShortcutApplicationPicker::finishLoading(std::uint64_t generation, std::vector<ApplicationShortcuts> applications) {
    if (generation != scanGeneration_) return;
    applications_ = std::move(applications);
    loading_ = false;
    // Rows are kept by bundle identifier and laid out again in the new order.
    std::map<std::string, ApplicationPickerRow*> kept;
    while (rowsLayout_->count() > 1) delete rowsLayout_->takeAt(0);  // the items, not the rows
    for (const auto& application : applications_) {
        ApplicationPickerRow* row = nullptr;
        if (auto found = rows_.find(application.bundleID); found != rows_.end() && found->second->application() == application) {
            row = found->second;
            rows_.erase(found);
        } else {
            const QString iconPath = services_.installedApplications
                                         ? QString::fromStdString(services_.installedApplications->iconFile(application.path).string())
                                         : QString();
            row = new ApplicationPickerRow(application, iconPath, list_->widget());
            connect(row, &QAbstractButton::clicked, this, [this, row] { pick(row->application()); });
        }
        rowsLayout_->insertWidget(rowsLayout_->count() - 1, row);
        kept[application.bundleID] = row;
    }
    for (const auto& [id, stale] : rows_) stale->deleteLater();
    rows_ = std::move(kept);
    render();
}

void ShortcutApplicationPicker::render() {
    const auto shown = pickableApplications(applications_, existing_, search_->text().toStdString());
    std::set<std::string> visible;
    for (const auto* application : shown) visible.insert(application->bundleID);
    for (const auto& [id, row] : rows_) row->setVisible(visible.contains(id));
    spinner_->setVisible(loading_);
    empty_->setVisible(!loading_ && shown.empty());
    list_->setVisible(!loading_ && !shown.empty());
    failure_->setVisible(failed_);
}

void ShortcutApplicationPicker::pick(const ApplicationShortcuts& application) {
    const QPointer<ShortcutApplicationPicker> alive(this);
    const auto onSelect = onSelect_;
    const bool saved = onSelect && onSelect(application);
    if (!alive) return;
    failed_ = !saved;
    render();
}

void ShortcutApplicationPicker::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape) return QWidget::keyPressEvent(event);
    event->accept();
    if (const auto cancel = onCancel_) cancel();
}

}  // namespace dorvane
