#pragma once

#include <QWidget>

#include "DorvaneCore/Visual/TransientNoticeLayout.h"

namespace dorvane {

// One notice as drawn on its glass card: the information symbol, the title and, below it,
// the detail line, top-aligned and padded by 16 points; text wraps rather than being cut.
class NoticeContent final : public QWidget {
public:
    explicit NoticeContent(NoticeText text, QWidget* parent = nullptr);

    const NoticeText& text() const { return text_; }

    // The height the content needs at `width` points.
    double fittingHeight(double width) const;

    static constexpr const char* symbol = "info.circle";

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The text column's width, and the heights of the title and detail blocks in it.
    double columnWidth(double width) const;
    double titleHeight(double column) const;
    double detailHeight(double column) const;

    NoticeText text_;
};

}  // namespace dorvane
