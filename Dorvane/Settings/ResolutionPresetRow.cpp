#include "Dorvane/Settings/ResolutionPresetRow.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include "Dorvane/Visual/QtText.h"
#include "Dorvane/Visual/DesignTokens.h"
#include "Dorvane/Visual/ScreenGlyph.h"
#include "Dorvane/Visual/SymbolButton.h"
#include "Dorvane/Visual/TokenLabel.h"

namespace dorvane {

namespace {

constexpr int kHorizontalPadding = 12;
constexpr int kVerticalPadding = 8;
constexpr int kSpacing = 12;
constexpr int kTextSpacing = 3;
constexpr int kGlyphFrame = 28;
constexpr double kGlyphWidth = 20;
constexpr double kGlyphHeight = 16;
constexpr double kActiveStroke = 0.85;
constexpr double kStroke = 0.55;
constexpr QSize kButtonFrame{28, 32};

ScreenGlyph::Values glyphValues(const ResolutionPageRow& row) {
    return ScreenGlyph::Values{row.glyphSize(), row.active, kGlyphWidth, kGlyphHeight,
                               row.active ? kActiveStroke : kStroke};
}

}  // namespace

ResolutionPresetRow::ResolutionPresetRow(const ResolutionPageRow& row, std::function<void(const SpecDraft&)> edit,
                                         std::function<void(const DeletionTarget&)> remove, QWidget* parent)
    : QWidget(parent), row_(row) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kHorizontalPadding, kVerticalPadding, kHorizontalPadding, kVerticalPadding);
    layout->setSpacing(kSpacing);

    auto* glyphFrame = new QWidget(this);
    glyphFrame->setFixedSize(kGlyphFrame, kGlyphFrame);
    glyphFrame->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* centred = new QVBoxLayout(glyphFrame);
    centred->setContentsMargins(0, 0, 0, 0);
    glyph_ = new ScreenGlyph(glyphValues(row_), DesignTokens::Colors::accent.resolved(), glyphFrame);
    centred->addWidget(glyph_, 0, Qt::AlignCenter);
    layout->addWidget(glyphFrame, 0, Qt::AlignVCenter);

    text_ = new QWidget(this);
    auto* lines = new QVBoxLayout(text_);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(kTextSpacing);
    title_ = new TokenLabel(QString(), DesignTokens::font(DesignTokens::fontBody), DesignTokens::Colors::textPrimary,
                            text_);
    size_ = new TokenLabel(QString(), DesignTokens::font(DesignTokens::fontCaption),
                           DesignTokens::Colors::textSecondary, text_);
    lines->addWidget(title_);
    lines->addWidget(size_);
    layout->addWidget(text_, 0, Qt::AlignVCenter);
    layout->addStretch(1);

    edit_ = new SymbolButton("pencil", kButtonFrame, QString(), DesignTokens::Colors::textSecondary,
                             DesignTokens::fontBody, this);
    delete_ = new SymbolButton("trash", kButtonFrame, QString(), DesignTokens::Colors::textSecondary,
                               DesignTokens::fontBody, this);
    layout->addWidget(edit_, 0, Qt::AlignVCenter);
    layout->addWidget(delete_, 0, Qt::AlignVCenter);
    connect(edit_, &QAbstractButton::clicked, this, [this, edit = std::move(edit)] { edit(row_.editDraft()); });
    connect(delete_, &QAbstractButton::clicked, this,
            [this, remove = std::move(remove)] { remove(row_.deletionTarget()); });

    DesignTokens::repaintOnAppearanceChange(this);
    render(row_);
}

void ResolutionPresetRow::render(const ResolutionPageRow& row) {
    const bool changedLook = row.active != row_.active;
    row_ = row;
    const QString title = qtText(row_.preset.title());
    title_->setText(title);
    title_->setFont(DesignTokens::font(DesignTokens::fontBody, row_.active ? FontWeight::medium : FontWeight::regular));
    size_->setText(qtText(row_.preset.sizeLabel()));
    size_->setAccessibleName(qtText(row_.sizeAccessibleName()));
    text_->setToolTip(title);
    glyph_->setValues(glyphValues(row_));
    edit_->setAccessibleName(qtText(row_.editAccessibleName()));
    delete_->setAccessibleName(qtText(row_.deleteAccessibleName()));
    setAccessibleName(title);
    if (changedLook) {
        announceSelected(this);
        update();
    }
}

void ResolutionPresetRow::paintEvent(QPaintEvent* /*event*/) {
    if (!row_.active) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), DesignTokens::radiusMd, DesignTokens::radiusMd);
    painter.fillPath(shape, DesignTokens::Colors::selectionFill.resolved());
}

}  // namespace dorvane
